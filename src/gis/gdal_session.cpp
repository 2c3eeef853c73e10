#include "gis/gdal_session.h"

#include <cpl_error.h>
#include <gdal.h>

#include <mutex>

namespace vantrel::gis {

GdalSession::GdalSession() {
    static std::once_flag registered;
    std::call_once(registered, [] { GDALAllRegister(); });
    CPLPushErrorHandler(CPLQuietErrorHandler);
    CPLErrorReset();
}

GdalSession::~GdalSession() {
    CPLPopErrorHandler();
}

std::string GdalSession::lastError(const std::string& fallback) const {
    const char* message = CPLGetLastErrorMsg();
    return message && *message ? std::string(message) : fallback;
}

} // namespace vantrel::gis
