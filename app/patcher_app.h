// The application: its whole life is one modal run of the main dialog.
#pragma once
#include "framework/framework.h"

class CPatcherApp : public CWinApp {
public:
    ~CPatcherApp() override = default;

    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

    BOOL InitInstance() override;
};
