// What must hold of the card keys whatever ran against the registry: the keys are numbered
// Card1 to CardN without a gap and nothing else sits beside them, and every card is whole.
#pragma once

#include <string>

namespace zov::test {

// Checks `parameters`, the dump of the Parameters key (RegistryTest::Dump), against
// `expectedCards` cards, each a PCI card whose ZOVPortCount gives its port keys Port1 to PortK,
// named with consecutive COM numbers; no two cards share a COM name. Returns a description of
// every problem found, or "" when there is none.
std::string CardInvariantProblems(const std::string& parameters, int expectedCards);

}  // namespace zov::test
