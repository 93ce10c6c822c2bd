// The squared rectangles of each order, simple and compound, perfect and
// imperfect, made order after order: the compound ones of order n from
// all of the lower orders, for --enumerate N --compound --imperfect.
#pragma once

#include "enumeration/compound_levels.h"
#include "enumeration/imperfect_pieces.h"

// The imperfect rectangles of `order`, squares included: the simple ones
// and the compound ones by part. `levels` must hold every squared rectangle
// of the orders below (1 to order - 1), and gets this order's added when
// `keep`. `jobs` threads share the work; the codes are the same for any number.
order_codes make_any_order(int order, any_levels& levels, bool keep, int jobs);
