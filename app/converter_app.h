#pragma once

#include "afx.h"

// The application: runs the main dialog modally and ends when it closes.
class CConverterApp : public CWinApp {
public:
    CConverterApp();

    BOOL InitInstance() override;
};
