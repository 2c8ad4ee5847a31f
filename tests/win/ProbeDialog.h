#pragma once
// A dialog that records what the framework does with its messages, and a way
// to run a dialog modally while another thread drives it like a user.

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "Dialog.h"
#include "TestDialogs.h"

inline constexpr UINT kOpenSecondary = 40200;
inline constexpr UINT kOwnerCommand = 40201;
inline constexpr UINT kProbe = WM_APP + 5;

// Records the messages offered to its hook and whether its owner was enabled
// when it was destroyed.
class CRecordingDlg : public CDialog {
public:
    explicit CRecordingDlg(UINT idTemplate = IDD_TEST_PLAIN) : CDialog(idTemplate) {}

    std::atomic<HWND> window{nullptr};
    // Read and written on the dialog's thread only.
    std::vector<UINT> hooked;  // every message offered to PreTranslateMessage
    bool ownerEnabledAtDestroy = false;

    BOOL PreTranslateMessage(MSG* pMsg) override {
        hooked.push_back(pMsg->message);
        return CDialog::PreTranslateMessage(pMsg);
    }
    BOOL OnInitDialog() override {
        const BOOL result = CDialog::OnInitDialog();
        window = m_hWnd;
        return result;
    }

protected:
    LRESULT OnDestroy(WPARAM, LPARAM) {
        HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
        ownerEnabledAtDestroy = owner && ::IsWindowEnabled(owner);
        Default();
        return 0;
    }

    DECLARE_MESSAGE_MAP()
};

// A main dialog with handlers for the tests' own commands and probe messages.
class CProbeDlg : public CRecordingDlg {
public:
    using CRecordingDlg::CRecordingDlg;

    std::vector<UINT> dispatched;  // probe messages that reached the dialog procedure
    std::vector<std::string> events;
    CDialog* secondary = nullptr;  // run by kOpenSecondary

protected:
    LRESULT OnProbe(WPARAM, LPARAM) {
        dispatched.push_back(kProbe);
        return 0;
    }
    LRESULT OnKickIdle(WPARAM, LPARAM) {
        dispatched.push_back(WM_KICKIDLE);
        return 0;
    }
    void OnOpenSecondary() {
        if (secondary) secondary->DoModal();
    }
    void OnOwnerCommand() { events.push_back("owner command"); }
    void OnButton() { events.push_back("button"); }

    DECLARE_MESSAGE_MAP()
};

// Runs dlg modally on this thread while script runs on another thread once the
// dialog's window is visible; afterwards the dialog is cancelled if the script
// left it open, so a failing test cannot hang.
template <class Dialog>
INT_PTR RunWithScript(Dialog& dlg, const std::function<void(HWND)>& script);

bool WaitForWindow(const std::atomic<HWND>& window);
// Drops keyboard and mouse messages a previous test's input left in this thread's queue.
void DiscardPendingInput();
void CancelIfOpen(HWND hWnd);

#include <thread>

template <class Dialog>
INT_PTR RunWithScript(Dialog& dlg, const std::function<void(HWND)>& script) {
    DiscardPendingInput();
    std::thread driver([&] {
        if (WaitForWindow(dlg.window)) script(dlg.window);
        CancelIfOpen(dlg.window);
    });
    const INT_PTR result = dlg.DoModal();
    driver.join();
    return result;
}
