#pragma once
// Static message maps: each class has a table of entries and a link to its
// base's table. A class's table is searched before its base's and the first
// entry whose message, notification code and id range match wins.

#include "Afx.h"

class CCmdTarget;

// A handler thunk: calls the member handler with the message's parameters,
// stores its result and says whether it handled the message.
using AFX_PMSG = bool (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam, LRESULT& result);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // window message; WM_COMMAND for commands
    UINT nCode;     // notification code (commands only)
    UINT nID;       // first control or command id (commands only)
    UINT nLastID;   // last id of the range
    AFX_PMSG pfn;   // nullptr ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// clang-format off
#define DECLARE_MESSAGE_MAP()                        \
protected:                                           \
    static const AFX_MSGMAP* GetThisMessageMap();    \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                         \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                  \
        using ThisClass [[maybe_unused]] = theClass;                                   \
        using TheBaseClass = baseClass;                                                \
        static const AFX_MSGMAP_ENTRY entries[] = {
#define END_MESSAGE_MAP()                                                          \
    {0, 0, 0, 0, nullptr}                                                          \
    }                                                                              \
    ;                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, entries}; \
    return &messageMap;                                                            \
    }

#define ON_COMMAND_EX_CODE(code, id, memberFxn)                                                   \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id),          \
     [](CCmdTarget* t, WPARAM, LPARAM, LRESULT&) -> bool {                                        \
         (static_cast<ThisClass*>(t)->*(memberFxn))();                                            \
         return true;                                                                             \
     }},

#define ON_COMMAND(id, memberFxn) ON_COMMAND_EX_CODE(0, id, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_COMMAND_EX_CODE(BN_CLICKED, id, memberFxn)

#define ON_WM_SYSCOMMAND()                                                           \
    {WM_SYSCOMMAND, 0, 0, 0, [](CCmdTarget* t, WPARAM w, LPARAM l, LRESULT&) -> bool { \
         static_cast<ThisClass*>(t)->OnSysCommand(static_cast<UINT>(w), l);          \
         return true;                                                                \
     }},

#define ON_WM_PAINT()                                                               \
    {WM_PAINT, 0, 0, 0, [](CCmdTarget* t, WPARAM, LPARAM, LRESULT&) -> bool {       \
         static_cast<ThisClass*>(t)->OnPaint();                                     \
         return true;                                                               \
     }},

#define ON_WM_QUERYDRAGICON()                                                          \
    {WM_QUERYDRAGICON, 0, 0, 0, [](CCmdTarget* t, WPARAM, LPARAM, LRESULT& r) -> bool { \
         r = reinterpret_cast<LRESULT>(static_cast<ThisClass*>(t)->OnQueryDragIcon()); \
         return true;                                                                  \
     }},

#define ON_WM_HELPINFO()                                                                     \
    {WM_HELP, 0, 0, 0, [](CCmdTarget* t, WPARAM, LPARAM l, LRESULT& r) -> bool {             \
         r = static_cast<ThisClass*>(t)->OnHelpInfo(reinterpret_cast<HELPINFO*>(l));         \
         return true;                                                                        \
     }},

#define ON_MESSAGE(message, memberFxn)                                                   \
    {static_cast<UINT>(message), 0, 0, 0, [](CCmdTarget* t, WPARAM w, LPARAM l, LRESULT& r) -> bool { \
         r = (static_cast<ThisClass*>(t)->*(memberFxn))(w, l);                           \
         return true;                                                                    \
     }},

#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                    \
    {WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(idLast),                              \
     [](CCmdTarget* t, WPARAM, LPARAM, LRESULT&) -> bool {                                         \
         (static_cast<ThisClass*>(t)->*(memberFxn))();                                             \
         return true;                                                                              \
     }},
// clang-format on
