#pragma once
// Stands in for the platform's help engine: a window of the engine's class that
// records each request and answers with success or failure as told.

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct HelpRequest {
    UINT command;
    DWORD data;
    std::string file;
    HWND owner;
};

class HelpRecorder {
public:
    explicit HelpRecorder(bool succeed = true);
    ~HelpRecorder();
    HelpRecorder(const HelpRecorder&) = delete;
    HelpRecorder& operator=(const HelpRecorder&) = delete;

    std::vector<HelpRequest> Requests() const;
    bool WaitForCount(std::size_t count, DWORD timeoutMs = 10000) const;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Record(HWND owner, const COPYDATASTRUCT* data);

    bool m_succeed;
    mutable std::mutex m_mutex;
    std::vector<HelpRequest> m_requests;
    std::atomic<HWND> m_window{nullptr};
    std::atomic<DWORD> m_threadId{0};
    std::thread m_thread;
};
