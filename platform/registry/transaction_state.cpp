#include "platform/registry/transaction_state.h"

namespace zov {

TransactionState& TransactionState::Get() {
    static TransactionState state;
    return state;
}

}  // namespace zov
