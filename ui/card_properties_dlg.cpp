#include "ui/card_properties_dlg.h"

#include "platform/format.h"
#include "platform/win32/scoped_key.h"
#include "store/card_key_reader.h"
#include "store/card_layout.h"
#include "ui/card_list_dlg.h"
#include "ui/card_property_texts.h"
#include "ui/res/resource.h"

namespace {

// Each value is read with its own room, in bytes.
constexpr DWORD kBaseAddressRoom = 15;
constexpr DWORD kByteValueRoom = 5;

}  // namespace

CCardPropertiesDlg::CCardPropertiesDlg(CWnd* pParent) : CDialog(IDD_CARD_PROPERTIES, pParent) {}

void CCardPropertiesDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EDIT_PCI_SLOT, m_editPciSlot);
    DDX_Control(pDX, IDC_EDIT_PCI_BUS, m_editPciBus);
    DDX_Text(pDX, IDC_EDIT_CARD_NUMBER, m_strCardNumber);
    DDV_MaxChars(pDX, m_strCardNumber, 1);
    DDX_Text(pDX, IDC_EDIT_BASE_ADDRESS, m_strBaseAddress);
    DDV_MaxChars(pDX, m_strBaseAddress, 8);
    DDX_Text(pDX, IDC_EDIT_IRQ, m_strIrq);
    DDX_Text(pDX, IDC_EDIT_PORT_COUNT, m_strPortCount);
    DDX_Text(pDX, IDC_EDIT_PCI_BUS, m_strPciBus);
    DDX_Text(pDX, IDC_EDIT_PCI_SLOT, m_strPciSlot);
    DDX_Text(pDX, IDC_EDIT_STARTING_PORT, m_strStartingPort);
}

BOOL CCardPropertiesDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const auto* owner = dynamic_cast<const CCardListDlg*>(GetOwner());
    const char card = owner != nullptr ? owner->m_chCurrentCard : '\0';
    m_strCardNumber = zov::FormatText("%c", card);
    UpdateData(FALSE);

    // The dialog only shows, so reading is all it asks of the registry.
    zov::ScopedKey cardKey;
    if (cardKey.Open(HKEY_LOCAL_MACHINE, zov::CardKeyPathFromChar(card), KEY_READ) !=
        ERROR_SUCCESS) {
        AfxMessageBox("Card Registry Not Found");
        return FALSE;
    }
    if (const auto base =
            zov::QueryValueWithin(cardKey.Get(), zov::kBaseAddressValue, kBaseAddressRoom)) {
        m_strBaseAddress = zov::BaseAddressText(*base);
    }
    if (const auto irq = zov::QueryValueWithin(cardKey.Get(), zov::kIrqValue, kByteValueRoom)) {
        m_strIrq = zov::ShortHexText(*irq);
    }
    const auto portCount =
        zov::QueryValueWithin(cardKey.Get(), zov::kPortCountValue, kByteValueRoom);
    if (!portCount) {
        m_editPciBus.EnableWindow(FALSE);
        m_editPciSlot.EnableWindow(FALSE);
        m_strPortCount = zov::FormatText("%d", static_cast<int>(zov::CountSubkeys(cardKey.Get())));
    } else {
        m_editPciBus.EnableWindow(TRUE);
        m_editPciSlot.EnableWindow(TRUE);
        m_strPortCount = zov::FirstByteDecimalText(*portCount);
        if (const auto slot =
                zov::QueryValueWithin(cardKey.Get(), zov::kSlotValue, kByteValueRoom)) {
            m_strPciSlot = zov::ShortHexText(*slot);
        }
        if (const auto bus = zov::QueryValueWithin(cardKey.Get(), zov::kBusValue, kByteValueRoom)) {
            m_strPciBus = zov::ShortHexText(*bus);
        }
    }
    // Without a readable Port1 name the field stays empty.
    m_strStartingPort = zov::ReadFirstPortName(cardKey.Get(), KEY_READ).value_or("");
    UpdateData(FALSE);
    return TRUE;
}
