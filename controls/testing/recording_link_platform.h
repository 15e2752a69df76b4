// A link platform for tests: records every call with its arguments, in order, and answers with
// the codes and registry contents a test chooses. Opens nothing and shows nothing.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "../link_platform.h"

class RecordingLinkPlatform : public LinkPlatform {
public:
    struct RegValue {
        std::uint32_t type;
        std::string data;   // stored bytes as they are, terminator included only if given
    };

    // One line per call, e.g. ShellExecuteA(open, "http://x", 5) or RegOpenKeyExA(HKCR, ".htm").
    std::vector<std::string> calls;
    // The texts given to the message box, in order.
    std::vector<std::string> messages;

    std::uint32_t shellResult = 42;
    std::uint32_t runResult = 33;

    // A key under HKEY_CLASSES_ROOT with a default value, as text with its terminator.
    void SetDefault(const std::string& subKey, const std::string& text);
    void SetDefault(const std::string& subKey, RegValue value);
    // A key that opens but has no default value.
    void AddKey(const std::string& subKey);
    // Opening this key fails with code.
    void FailOpen(const std::string& subKey, std::int32_t code);

    // Keys opened and not yet closed.
    int OpenKeyCount() const;

    std::uint32_t ShellOpen(const char* file, int show) override;
    std::int32_t OpenRegKey(RegKey root, const char* subKey, RegKey* key) override;
    std::int32_t QueryRegDefault(RegKey key, std::uint32_t* type, char* data,
                                 std::uint32_t* size) override;
    std::int32_t CloseRegKey(RegKey key) override;
    std::uint32_t RunCommand(const char* commandLine, int show) override;
    void Beep(std::uint32_t type) override;
    void ShowMessage(const char* text, std::uint32_t type) override;

private:
    struct Key {
        bool hasDefault = false;
        RegValue value{};
        std::int32_t openFailure = 0;
    };
    std::map<std::string, Key> keys;
    struct Handle {
        std::string name;
        bool open;
    };
    std::vector<Handle> handles;   // handle n is handles[n - 1]
};
