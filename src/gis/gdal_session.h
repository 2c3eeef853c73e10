// GDAL set up for one call into it: drivers registered once, and its errors kept for the
// program's own messages rather than printed.
#pragma once

#include <string>

namespace vantrel::gis {

class GdalSession {
public:
    GdalSession();
    ~GdalSession();
    GdalSession(const GdalSession&) = delete;
    GdalSession& operator=(const GdalSession&) = delete;

    // GDAL's last error message, or `fallback` when it gave none.
    std::string lastError(const std::string& fallback) const;
};

} // namespace vantrel::gis
