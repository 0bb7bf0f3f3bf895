// Everything a dialog-based application of the framework uses, in one include.
#pragma once

#include "platform/framework/afx_message_box.h"
#include "platform/framework/afx_win_main.h"
#include "platform/framework/c_button.h"
#include "platform/framework/c_combo_box.h"
#include "platform/framework/c_data_exchange.h"
#include "platform/framework/c_dc.h"
#include "platform/framework/c_dialog.h"
#include "platform/framework/c_edit.h"
#include "platform/framework/c_list_box.h"
#include "platform/framework/c_paint_dc.h"
#include "platform/framework/c_string.h"
#include "platform/framework/c_win_app.h"
#include "platform/framework/c_wnd.h"
#include "platform/framework/data_exchange.h"
#include "platform/framework/message_map.h"
#include "platform/framework/resource_handle.h"
