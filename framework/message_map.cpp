#include "message_map.h"

const MessageEntry* FindMessageEntry(const MessageMap* map, UINT message, WPARAM wParam,
                                     MessageSource source) {
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    for (; map; map = map->base) {
        for (std::size_t i = 0; i < map->count; ++i) {
            const MessageEntry& e = map->entries[i];
            if (e.message != message || e.source != source) continue;
            if (message == WM_COMMAND) {
                if (e.code != code) continue;
                if (source == MessageSource::Own && e.id != id) continue;
            }
            return &e;
        }
    }
    return nullptr;
}

CCmdTarget::~CCmdTarget() = default;

const MessageMap* CCmdTarget::GetThisMessageMap() {
    static const MessageMap root{nullptr, nullptr, 0};
    return &root;
}

const MessageMap* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

bool CCmdTarget::DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, MessageSource source,
                               LRESULT& result) {
    const MessageEntry* entry = FindMessageEntry(GetMessageMap(), message, wParam, source);
    if (!entry) return false;
    result = entry->thunk(this, wParam, lParam);
    return true;
}
