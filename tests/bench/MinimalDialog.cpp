// The baseline for start-up, size and memory figures: the same framework, the
// same flags, one empty dialog and nothing else.

#include "Dialog.h"
#include "WinApp.h"

namespace {

class CMinimalApp : public CWinApp {
public:
    BOOL InitInstance() override {
        CDialog dlg(1);
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
        return FALSE;
    }
};

CMinimalApp theMinimalApp;

}  // namespace
