#include "platform/security/credentials.h"

#include <unistd.h>

namespace zov {

Credentials Credentials::OfProcess() {
    Credentials credentials;
    credentials.uid = geteuid();
    credentials.gid = getegid();
    // The group list can change between the two calls; ask again a few times until it fits.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int count = getgroups(0, nullptr);
        if (count <= 0) {
            break;
        }
        std::vector<gid_t> groups(static_cast<std::size_t>(count));
        const int filled = getgroups(count, groups.data());
        if (filled >= 0) {
            groups.resize(static_cast<std::size_t>(filled));
            credentials.supplementary_groups = std::move(groups);
            break;
        }
    }
    return credentials;
}

}  // namespace zov
