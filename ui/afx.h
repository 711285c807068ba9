#pragma once

// The whole layer that stands in for MFC, for the dialog and application code.
#include <windows.h>
#include <shellapi.h>

#include "afx_dc.h"
#include "afx_ddx.h"
#include "afx_dialog.h"
#include "afx_drop.h"
#include "afx_listbox.h"
#include "afx_menu.h"
#include "afx_string.h"
#include "afx_winapp.h"
#include "afx_wnd.h"
