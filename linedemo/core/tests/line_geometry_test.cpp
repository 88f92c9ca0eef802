#include "linedemo/core/line_geometry.h"

#include <gtest/gtest.h>
