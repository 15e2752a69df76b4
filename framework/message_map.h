// Message maps: each class keeps a static table of entries chained to its base
// class's table. An entry is made by a typed entry maker (message_entries.h)
// from a member-function pointer given as a template argument, so a handler
// with the wrong signature does not compile and nothing is cast.
//
// A class with a map declares
//     static const MessageMap* GetThisMessageMap();
//     const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }
// and defines, in its .cpp,
//     const MessageMap* CMyDlg::GetThisMessageMap() {
//         static const MessageEntry entries[] = {
//             OnPaintEntry<&CMyDlg::OnPaint>(),
//             OnClickedEntry<IDC_BROWSE, &CMyDlg::OnBrowse>(),
//         };
//         static const MessageMap map = MakeMessageMap<CDialog>(entries);
//         return &map;
//     }
// Entries are searched in order, most derived map first; the first match wins.
#pragma once
#include <windows.h>
#include <cstddef>

class CCmdTarget;

// Whether an entry is for the window's own message or for a notification
// that its parent reflected back to it (WM_CTLCOLORSTATIC, WM_COMMAND).
enum class MessageSource : unsigned char { Own, Reflected };

using MessageThunk = LRESULT (*)(CCmdTarget* self, WPARAM wParam, LPARAM lParam);

struct MessageEntry {
    UINT message;           // WM_xxx
    UINT code;              // WM_COMMAND: the notification code (HIWORD of wParam); else 0
    UINT id;                // own WM_COMMAND: the control or command id; else 0
    MessageSource source;
    MessageThunk thunk;     // calls the handler with typed arguments
};

struct MessageMap {
    const MessageMap* base;          // null only for CCmdTarget's root map
    const MessageEntry* entries;
    std::size_t count;
};

// A map of entries chained to the map of class Base.
template <class Base, std::size_t N>
MessageMap MakeMessageMap(const MessageEntry (&entries)[N]) {
    return MessageMap{Base::GetThisMessageMap(), entries, N};
}
// A map with no entries of its own.
template <class Base>
MessageMap MakeMessageMap() {
    return MessageMap{Base::GetThisMessageMap(), nullptr, 0};
}

// First matching entry from map up through its bases, or null. A reflected
// WM_COMMAND entry matches on the code alone: the id is the child's own.
const MessageEntry* FindMessageEntry(const MessageMap* map, UINT message, WPARAM wParam,
                                     MessageSource source);

// The root of every class with a message map: windows and the application.
class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget();

    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;

    // Runs the handler of the first matching entry and stores its result;
    // false (result untouched) when no entry matches.
    bool DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, MessageSource source,
                       LRESULT& result);
};
