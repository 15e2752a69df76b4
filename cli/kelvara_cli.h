// The `kelvara` command: everything but the process entry, so it is tested in-process.
#pragma once
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "file_access.h"
#include "identify.h"

enum ExitCode : int {
    exitSuccess = 0,
    exitUnrecognisedOrWrongState = 1,
    exitCannotOpen = 2,
    exitWriteFailed = 3,
    exitUsage = 4,
    exitBadCatalogue = 5,
};

enum class Command { None, Identify, Patch, Unpatch, List, Help, Version };

struct Options {
    Command command = Command::None;
    bool json = false;
    std::vector<std::string> catalogueFiles;
    std::vector<std::string> files;
};

// Options may come before or after the command; "--" ends them.
bool ParseArguments(const std::vector<std::string>& args, Options& options, std::string& error);

std::string HelpText();
std::string VersionText();

std::string DigestHex(const std::uint8_t digest[16]);
std::string JsonString(const std::string& text);
// "Recognised as:" and "Patch status:" in the dialog's own words, with the MD5.
std::string IdentificationText(const std::string& path, const Identification& identification);
// The fields of one identification as a JSON object (no "file").
std::string IdentificationJson(const Identification& identification);

// args excludes the program name. Returns the exit code.
int RunKelvara(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               FileAccess& files = StandardFileAccess());
