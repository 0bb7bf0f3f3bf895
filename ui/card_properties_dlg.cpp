#include "ui/card_properties_dlg.h"

#include "platform/format.h"
#include "store/card_layout.h"
#include "store/card_properties.h"
#include "ui/card_list_dlg.h"
#include "ui/card_property_texts.h"
#include "ui/res/resource.h"

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
    const auto properties = zov::ReadCardProperties(zov::CardKeyPathFromChar(card));
    if (!properties) {
        AfxMessageBox("Card Registry Not Found");
        return FALSE;
    }
    if (properties->baseAddress) {
        m_strBaseAddress = zov::BaseAddressText(*properties->baseAddress);
    }
    if (properties->irq) {
        m_strIrq = zov::ShortHexText(*properties->irq);
    }
    if (!properties->IsPci()) {
        m_editPciBus.EnableWindow(FALSE);
        m_editPciSlot.EnableWindow(FALSE);
        m_strPortCount = zov::FormatText("%d", static_cast<int>(properties->subkeyCount));
    } else {
        m_editPciBus.EnableWindow(TRUE);
        m_editPciSlot.EnableWindow(TRUE);
        m_strPortCount = zov::FirstByteDecimalText(*properties->portCount);
        if (properties->pciSlot) {
            m_strPciSlot = zov::ShortHexText(*properties->pciSlot);
        }
        if (properties->pciBus) {
            m_strPciBus = zov::ShortHexText(*properties->pciBus);
        }
    }
    // Without a readable Port1 name the field stays empty.
    m_strStartingPort = properties->firstPort.value_or("");
    UpdateData(FALSE);
    return TRUE;
}
