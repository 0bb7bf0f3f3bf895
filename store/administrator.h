// Whether the user may change the card configuration: only members of the local Administrators
// group add or remove cards.
#pragma once

namespace zov {

// True when the process token lists the Administrators group (S-1-5-32-544) among its groups,
// enabled or not. Every failure to find out gives false.
bool IsUserAdministrator();

}  // namespace zov
