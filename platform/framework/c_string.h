// The framework's string type. A plain std::string: 8-bit ANSI text, no reference counting.
#pragma once

#include <string>

using CString = std::string;
