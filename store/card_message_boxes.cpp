// The two calls of the store that show their outcome in a message box, CommitNewCard and
// RemoveCard: thin wrappers over zov::AddCard and zov::RemoveAndRenumber. They are the only store
// code that reaches the dialog manager, and they are built as their own small target
// (zovstoremessageboxes), so that the rest of the store links neither it nor the terminal.
#include "platform/framework/afx_message_box.h"
#include "platform/win32/user.h"
#include "store/card_globals.h"
#include "store/card_removal.h"
#include "store/new_card.h"
#include "store/new_card_commit.h"

namespace {

using zov::NewCard;

constexpr UINT kStopBoxFlags = MB_OK | MB_ICONHAND | MB_TASKMODAL;

}  // namespace

bool CommitNewCard(HWND owner, const std::string& startingPort, int portCountIndex,
                   int busTypeIndex, const std::string& baseAddressText,
                   const std::string& irqText) {
    const NewCard card =
        zov::DescribeNewCard(startingPort, portCountIndex, busTypeIndex, baseAddressText, irqText);
    if (const auto refusal = zov::AddCard(card, g_nCardCount)) {
        MessageBoxA(owner, refusal->text.c_str(), refusal->caption.c_str(), kStopBoxFlags);
        return false;
    }
    ++g_nChangeCount;
    return true;
}

void RemoveCard(int cardNumber) {
    // The transaction has ended when the message shows: no other process waits on the user.
    if (const auto failure = zov::RemoveAndRenumber(cardNumber, g_nCardCount)) {
        AfxMessageBox(failure->c_str());
    }
}
