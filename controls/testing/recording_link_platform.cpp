#include "recording_link_platform.h"

#include <cstdio>
#include <cstring>

namespace {

std::string Hex(std::uint64_t value)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

std::string Quoted(const char* text)
{
    return text ? "\"" + std::string(text) + "\"" : "null";
}

}  // namespace

void RecordingLinkPlatform::SetDefault(const std::string& subKey, const std::string& text)
{
    SetDefault(subKey, RegValue{RegTypeString, text + '\0'});
}

void RecordingLinkPlatform::SetDefault(const std::string& subKey, RegValue value)
{
    Key& key = keys[subKey];
    key.hasDefault = true;
    key.value = std::move(value);
}

void RecordingLinkPlatform::AddKey(const std::string& subKey)
{
    Key& key = keys[subKey];
    key.hasDefault = false;
    key.value = {};
}

void RecordingLinkPlatform::FailOpen(const std::string& subKey, std::int32_t code)
{
    keys[subKey].openFailure = code;
}

int RecordingLinkPlatform::OpenKeyCount() const
{
    int open = 0;
    for (const Handle& handle : handles)
        open += handle.open ? 1 : 0;
    return open;
}

std::uint32_t RecordingLinkPlatform::ShellOpen(const char* file, int show)
{
    calls.push_back("ShellExecuteA(open, " + Quoted(file) + ", " + std::to_string(show) + ")");
    return shellResult;
}

std::int32_t RecordingLinkPlatform::OpenRegKey(RegKey root, const char* subKey, RegKey* key)
{
    // The sub-key is read before anything is written, as the real call does.
    const std::string name = subKey ? subKey : "";
    calls.push_back("RegOpenKeyExA(" + (root == ClassesRootKey ? std::string("HKCR") : Hex(root)) +
                    ", " + Quoted(subKey) + ")");
    auto found = keys.find(name);
    if (root != ClassesRootKey || found == keys.end())
        return RegFileNotFound;
    if (found->second.openFailure != 0)
        return found->second.openFailure;
    handles.push_back({name, true});
    *key = handles.size();
    return RegSuccess;
}

std::int32_t RecordingLinkPlatform::QueryRegDefault(RegKey key, std::uint32_t* type, char* data,
                                                    std::uint32_t* size)
{
    const bool valid = key >= 1 && key <= handles.size() && handles[key - 1].open;
    const std::string name = valid ? handles[key - 1].name : "?";
    calls.push_back("RegQueryValueExA(" + Quoted(name.c_str()) + ", " +
                    (size ? std::to_string(*size) : std::string("null")) + ")");
    if (!valid)
        return 6;   // ERROR_INVALID_HANDLE
    const Key& stored = keys[name];
    if (!stored.hasDefault)
        return RegFileNotFound;
    const std::uint32_t needed = static_cast<std::uint32_t>(stored.value.data.size());
    if (type)
        *type = stored.value.type;
    if (data && size && *size < needed) {
        *size = needed;
        return RegMoreData;
    }
    if (data)
        std::memcpy(data, stored.value.data.data(), needed);
    if (size)
        *size = needed;
    return RegSuccess;
}

std::int32_t RecordingLinkPlatform::CloseRegKey(RegKey key)
{
    const bool valid = key >= 1 && key <= handles.size() && handles[key - 1].open;
    calls.push_back("RegCloseKey(" + Quoted(valid ? handles[key - 1].name.c_str() : "?") + ")");
    if (!valid)
        return 6;
    handles[key - 1].open = false;
    return RegSuccess;
}

std::uint32_t RecordingLinkPlatform::RunCommand(const char* commandLine, int show)
{
    calls.push_back("WinExec(" + Quoted(commandLine) + ", " + std::to_string(show) + ")");
    return runResult;
}

void RecordingLinkPlatform::Beep(std::uint32_t type)
{
    calls.push_back("MessageBeep(" + Hex(type) + ")");
}

void RecordingLinkPlatform::ShowMessage(const char* text, std::uint32_t type)
{
    calls.push_back("AfxMessageBox(" + Quoted(text) + ", " + Hex(type) + ")");
    messages.push_back(text ? text : "");
}
