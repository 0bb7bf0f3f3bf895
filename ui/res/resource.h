// Resource symbols of zovcfg: the dialog templates, their controls and the application icon.
// Control ids are unique within their template only; several templates reuse the same numbers.
#pragma once

// Dialog templates.
inline constexpr int IDD_CARD_SETTINGS = 130;
inline constexpr int IDD_ADD_CARD_ERROR = 131;
inline constexpr int IDD_CARD_PROPERTIES = 132;
inline constexpr int IDD_PROPERTIES_ERROR = 133;
inline constexpr int IDD_REMOVE_ERROR = 134;
inline constexpr int IDD_REMOVE_CARD = 135;
inline constexpr int IDD_CARD_LIST = 142;

// The application icon.
inline constexpr int IDR_MAINFRAME = 128;

// Card list (IDD_CARD_LIST).
inline constexpr int IDC_CARD_LIST = 1000;
inline constexpr int IDC_ADD = 1001;
inline constexpr int IDC_REMOVE = 1002;
inline constexpr int IDC_PROPERTIES = 1004;

// Card settings (IDD_CARD_SETTINGS).
inline constexpr int IDC_STARTING_PORT = 1000;
inline constexpr int IDC_PORTS_4 = 1001;
inline constexpr int IDC_PORTS_8 = 1002;
inline constexpr int IDC_PORTS_16 = 1003;
inline constexpr int IDC_BASE_ADDRESS = 1008;
inline constexpr int IDC_BUS_ISA = 1011;
inline constexpr int IDC_BUS_PCI = 1012;
inline constexpr int IDC_IRQ = 1014;

// Card properties (IDD_CARD_PROPERTIES).
inline constexpr int IDC_EDIT_PCI_SLOT = 1004;
inline constexpr int IDC_EDIT_IRQ = 1008;
inline constexpr int IDC_EDIT_CARD_NUMBER = 1013;
inline constexpr int IDC_EDIT_PORT_COUNT = 1014;
inline constexpr int IDC_EDIT_STARTING_PORT = 1015;
inline constexpr int IDC_EDIT_PCI_BUS = 1016;
inline constexpr int IDC_EDIT_BASE_ADDRESS = 1017;
