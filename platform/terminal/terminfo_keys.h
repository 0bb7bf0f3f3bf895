// The key sequences the terminal's description names, for the input translator to try first.
#pragma once

#include <vector>

#include "platform/terminal/input_translator.h"

namespace zov {

// Read from the current terminal's terminfo entry (setupterm or newterm must have run).
std::vector<InputTranslator::KnownSequence> TerminfoKeySequences();

}  // namespace zov
