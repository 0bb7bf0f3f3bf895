#include "ui/card_list_dlg.h"

#include <string>

#include "platform/format.h"
#include "store/card_census.h"
#include "store/card_choices.h"
#include "store/card_globals.h"
#include "store/card_removal.h"
#include "ui/add_card_error_dlg.h"
#include "ui/card_properties_dlg.h"
#include "ui/card_settings_dlg.h"
#include "ui/properties_error_dlg.h"
#include "ui/remove_card_dlg.h"
#include "ui/remove_error_dlg.h"
#include "ui/res/resource.h"

BEGIN_MESSAGE_MAP(CCardListDlg, CDialog)
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_BN_CLICKED(IDC_ADD, &CCardListDlg::OnAdd)
ON_BN_CLICKED(IDC_PROPERTIES, &CCardListDlg::OnProperties)
ON_BN_CLICKED(IDC_REMOVE, &CCardListDlg::OnRemove)
END_MESSAGE_MAP()

CCardListDlg::CCardListDlg(CWnd* pParent)
    : CDialog(IDD_CARD_LIST, pParent),
      m_chCurrentCard('\0'),
      m_hIcon(LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

void CCardListDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROPERTIES, m_btnProperties);
    DDX_Control(pDX, IDC_REMOVE, m_btnRemove);
    DDX_Control(pDX, IDC_ADD, m_btnAdd);
    DDX_Control(pDX, IDC_CARD_LIST, m_lstCards);
}

BOOL CCardListDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    RefreshCardList();
    if (!g_bIsAdmin) {
        m_btnRemove.EnableWindow(FALSE);
        m_btnAdd.EnableWindow(FALSE);
    } else if (g_nCardCount == zov::kMaxCards) {
        m_btnAdd.EnableWindow(FALSE);
    }
    if (g_nCardCount == 0) {
        m_btnRemove.EnableWindow(FALSE);
        m_btnProperties.EnableWindow(FALSE);
    }
    return TRUE;
}

void CCardListDlg::RefreshCardList() {
    const zov::CardCensus census = zov::TakeCardCensus();
    m_lstCards.ResetContent();
    const int tabStops[] = {72, 125, 145};
    m_lstCards.SetTabStops(3, tabStops);
    m_listedCards = census.cards;
    for (const zov::CardSummary& card : m_listedCards) {
        m_lstCards.AddString(zov::CensusRow(card).c_str());
    }
    g_nCardCount = census.cardCount;
    // Rows are in card order, so the first row is card 1's. A prefix search for "card1" would
    // meet "Card10" first once ten cards are listed.
    if (m_lstCards.GetCount() > 0) {
        m_lstCards.SetCurSel(0);
    }
}

const zov::CardSummary* CCardListDlg::SelectedCard() const {
    const int selected = m_lstCards.GetCurSel();
    if (selected < 0 || static_cast<std::size_t>(selected) >= m_listedCards.size()) {
        return nullptr;
    }
    return &m_listedCards[static_cast<std::size_t>(selected)];
}

void CCardListDlg::OnPaint() {
    // A terminal window is never minimised (IsIconic is always FALSE): no icon to paint.
    CDialog::OnPaint();
}

HICON CCardListDlg::OnQueryDragIcon() {
    return m_hIcon;
}

void CCardListDlg::OnAdd() {
    if (g_nCardCount >= zov::kMaxCards) {
        CAddCardErrorDlg notice;
        notice.DoModal();
        return;
    }
    {
        CCardSettingsDlg settings;
        settings.DoModal();
    }
    RefreshCardList();
    if (g_bIsAdmin) {
        if (g_nCardCount != 0) {
            m_btnRemove.EnableWindow(TRUE);
        }
        if (g_nCardCount == zov::kMaxCards) {
            m_btnAdd.EnableWindow(FALSE);
        }
    }
    if (g_nCardCount != 0) {
        m_btnProperties.EnableWindow(TRUE);
    }
}

void CCardListDlg::OnProperties() {
    if (m_lstCards.GetCount() == 0) {
        CPropertiesErrorDlg notice;
        notice.DoModal();
        return;
    }
    // The properties dialog is built around the one character after "Card" in the row: the
    // first digit of the card number.
    const zov::CardSummary* card = SelectedCard();
    if (card == nullptr) {
        return;
    }
    m_chCurrentCard = zov::FormatText("%d", card->number)[0];
    {
        CCardPropertiesDlg properties;
        properties.DoModal();
    }
    RefreshCardList();
}

void CCardListDlg::OnRemove() {
    if (m_lstCards.GetCount() == 0) {
        CRemoveErrorDlg notice;
        notice.DoModal();
        return;
    }
    // The whole card number: the row of Card10 is card 10, not card 1.
    const zov::CardSummary* card = SelectedCard();
    if (card == nullptr) {
        return;
    }
    const int number = card->number;
    {
        // Nothing is removed without a confirmation: a dialog that could not be shown ends the
        // command as Abort does.
        CRemoveCardDlg confirmation;
        confirmation.SetCardNumber(number);
        if (confirmation.DoModal() != IDOK) {
            return;
        }
    }
    ++g_nChangeCount;
    RemoveCard(number);
    RefreshCardList();
    if (g_bIsAdmin) {
        m_btnAdd.EnableWindow(TRUE);
        if (g_nCardCount == 0) {
            m_btnRemove.EnableWindow(FALSE);
        }
    }
    if (g_nCardCount == 0) {
        m_btnProperties.EnableWindow(FALSE);
    }
}
