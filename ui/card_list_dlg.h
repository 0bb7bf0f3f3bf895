// The utility's window: the list of configured cards and the commands Properties, Add, Remove
// and Close.
#pragma once

#include <vector>

#include "platform/framework/afxwin.h"
#include "store/card_census.h"

class CCardListDlg : public CDialog {
  public:
    explicit CCardListDlg(CWnd* pParent = nullptr);
    ~CCardListDlg() override = default;

    // The card number character of the card whose properties are shown; the properties dialog
    // reads it from its owner.
    char m_chCurrentCard;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnPaint();
    HICON OnQueryDragIcon();
    void OnAdd();
    void OnProperties();
    void OnRemove();

    // Runs the card census: fills the list, selects the row of card 1 and sets g_nCardCount.
    void RefreshCardList();
    // The card of the selected row; nothing when no row is selected.
    const zov::CardSummary* SelectedCard() const;

    CButton m_btnProperties;
    CButton m_btnRemove;
    CButton m_btnAdd;
    CListBox m_lstCards;
    HICON m_hIcon;
    // The census's summaries of the listed cards, one per row in row order.
    std::vector<zov::CardSummary> m_listedCards;

    DECLARE_MESSAGE_MAP()
};
