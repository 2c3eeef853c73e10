// Classes of equal count (quantiles), for maps that colour items by a measure whose values crowd
// in one part of its range.
#pragma once

#include <vector>

namespace vantrel::display {

struct ClassBreaks {
    // The smallest value, the lower bound of the first class.
    double lowest = 0;
    // The upper bound of each class, lowest class first: bound k is the value at or below which
    // k in `classes` of the values lie, the last the largest value. A class whose bound equals
    // the one before it is empty: many items share that value.
    std::vector<double> uppers;
};

// Nothing in `uppers` when there are no values.
ClassBreaks QuantileBreaks(std::vector<double> values, int classes);

} // namespace vantrel::display
