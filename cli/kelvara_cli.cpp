#include "kelvara_cli.h"

#include <cstdio>
#include <sstream>

#include "catalogue_file.h"

#ifndef KELVARA_VERSION
#define KELVARA_VERSION "0"
#endif

bool ParseArguments(const std::vector<std::string>& args, Options& options, std::string& error)
{
    options = Options{};
    bool optionsEnded = false;
    std::vector<std::string> words;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            words.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            options.command = Command::Help;
            return true;
        } else if (arg == "--version") {
            options.command = Command::Version;
            return true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--catalogue") {
            if (i + 1 >= args.size()) {
                error = "--catalogue needs a file name";
                return false;
            }
            options.catalogueFiles.push_back(args[++i]);
        } else if (arg.compare(0, 12, "--catalogue=") == 0 && arg.size() > 12) {
            options.catalogueFiles.push_back(arg.substr(12));
        } else {
            error = "unknown option '" + arg + "'";
            return false;
        }
    }
    if (words.empty()) {
        error = "no command given";
        return false;
    }
    const std::string& command = words[0];
    options.files.assign(words.begin() + 1, words.end());
    const std::size_t count = options.files.size();
    if (command == "identify") {
        options.command = Command::Identify;
        if (count == 0)
            error = "identify needs at least one file";
    } else if (command == "patch" || command == "unpatch") {
        options.command = command == "patch" ? Command::Patch : Command::Unpatch;
        if (count != 1)
            error = command + " takes exactly one file";
    } else if (command == "list") {
        options.command = Command::List;
        if (count != 0)
            error = "list takes no file";
    } else if (command == "help") {
        options.command = Command::Help;
    } else {
        error = "unknown command '" + command + "'";
    }
    return error.empty();
}

std::string HelpText()
{
    return "Usage: kelvara [--json] [--catalogue FILE]... COMMAND [FILE...]\n"
           "\n"
           "Identifies the main executables of ProntoEdit 2.0 and 1.05, RC5000 Setup 2.0, 2.2\n"
           "and 2.3 and Touch Screen Setup 1.0.14 by the MD5 of the whole file, and patches\n"
           "them: five bytes raise the stack reserve from 1 MiB to 10,240,000 bytes.\n"
           "\n"
           "Commands:\n"
           "  identify FILE...   Show each file's release, whether it is patched, and its MD5.\n"
           "  patch FILE         Patch a file that is as shipped, then identify it again.\n"
           "  unpatch FILE       Write the shipped bytes back into a patched file, then\n"
           "                     identify it again.\n"
           "  list               Print the catalogue in the --catalogue file format.\n"
           "\n"
           "Options:\n"
           "  --catalogue FILE   Add the releases in FILE after the built-in twelve (may be\n"
           "                     given more than once). One release a line:\n"
           "                       \"Release name\" PATCHED-MD5 SHIPPED-MD5 OFFSET:PATCHED/SHIPPED ...\n"
           "                     offsets and bytes in hexadecimal (0x148:F1/00), 1 to 16\n"
           "                     records; '#' starts a comment. A malformed line stops\n"
           "                     the command before any file is touched.\n"
           "  --json             Machine-readable output on standard output.\n"
           "  --help             Show this text.\n"
           "  --version          Show the version.\n"
           "\n"
           "Exit codes:\n"
           "  0  Success: identify recognised every file; patch or unpatch wrote the file\n"
           "     and it now reads as the release's other state.\n"
           "  1  A file is unrecognised, or not in the state the command starts from\n"
           "     (patching a patched file); nothing was written.\n"
           "  2  A file could not be opened: missing, not a regular file, unreadable, or\n"
           "     (patch, unpatch) not writable. Nothing was written.\n"
           "  3  Writing failed, or the file now reads as neither state; the message tells\n"
           "     whether the file was changed.\n"
           "  4  Usage error.\n"
           "  5  A --catalogue file cannot be read or is malformed. Nothing was written.\n"
           "With several files, identify exits with the highest code among them.\n";
}

std::string VersionText() { return std::string("kelvara ") + KELVARA_VERSION + "\n"; }

std::string DigestHex(const std::uint8_t digest[16])
{
    std::string text;
    char pair[3];
    for (int i = 0; i < 16; ++i) {
        std::snprintf(pair, sizeof pair, "%02x", digest[i]);
        text += pair;
    }
    return text;
}

std::string JsonString(const std::string& text)
{
    std::string json = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (c == '\n') {
            json += "\\n";
        } else if (c == '\t') {
            json += "\\t";
        } else if (c == '\r') {
            json += "\\r";
        } else if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            json += escape;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

namespace {

const char* RecognisedText(const Identification& identification)
{
    switch (identification.outcome) {
    case Outcome::Matched:
        return identification.match->displayName;
    case Outcome::Unrecognised:
        return "Unrecognised file.";
    case Outcome::CannotOpen:
        break;
    }
    return "Could not open file.";
}

const char* StatusText(const Identification& identification)
{
    if (identification.outcome != Outcome::Matched)
        return "";
    return identification.match->isPatched ? "Patched" : "Original";
}

int IdentifyExitCode(const Identification& identification)
{
    switch (identification.outcome) {
    case Outcome::Matched:
        return exitSuccess;
    case Outcome::Unrecognised:
        return exitUnrecognisedOrWrongState;
    case Outcome::CannotOpen:
        break;
    }
    return exitCannotOpen;
}

// The entry a write should lead to: the same release in the other state.
bool IsOtherStateOf(const Identification& now, const KnownFile& before)
{
    return now.outcome == Outcome::Matched && now.match->records == before.records &&
           now.match->displayName == before.displayName &&
           (now.match->isPatched != 0) != (before.isPatched != 0);
}

struct ReportSink {
    std::ostream* err;
    std::string path;
    std::string text;
    bool toErr;

    static void Report(void* context, const char* failureText)
    {
        auto* sink = static_cast<ReportSink*>(context);
        sink->text = failureText;
        if (sink->toErr)
            *sink->err << "kelvara: " << sink->path << ": " << failureText << "\n";
    }
};

int RunIdentify(const Options& options, const Catalogue& catalogue, std::ostream& out, FileAccess& files)
{
    int code = exitSuccess;
    if (options.json)
        out << "[";
    for (std::size_t i = 0; i < options.files.size(); ++i) {
        const std::string& path = options.files[i];
        const Identification identification = IdentifyFile(path.c_str(), catalogue, files);
        const int fileCode = IdentifyExitCode(identification);
        if (fileCode > code)
            code = fileCode;
        if (options.json) {
            const std::string fields = IdentificationJson(identification);
            out << (i ? ",\n " : "\n ") << "{\"file\": " << JsonString(path) << ", " << fields.substr(1);
        } else {
            out << (i ? "\n" : "") << IdentificationText(path, identification);
        }
    }
    if (options.json)
        out << "\n]\n";
    return code;
}

int RunWrite(const Options& options, const Catalogue& catalogue, std::ostream& out, std::ostream& err,
             FileAccess& files)
{
    const bool unpatch = options.command == Command::Unpatch;
    const std::string& path = options.files[0];
    const Identification before = IdentifyFile(path.c_str(), catalogue, files);

    std::string result, message;
    int code = exitSuccess;
    Identification after{};
    bool identifiedAfter = false;

    if (before.outcome == Outcome::CannotOpen) {
        result = "cannot-open";
        message = "Could not open file. Nothing written.";
        code = exitCannotOpen;
    } else if (before.outcome == Outcome::Unrecognised) {
        result = "unrecognised";
        message = "Unrecognised file. (MD5 " + DigestHex(before.digest) + ") Nothing written.";
        code = exitUnrecognisedOrWrongState;
    } else if ((before.match->isPatched != 0) != unpatch) {
        result = "wrong-state";
        message = std::string(before.match->displayName) + " is " +
                  (unpatch ? "not patched" : "already patched") + ". Nothing written.";
        code = exitUnrecognisedOrWrongState;
    } else {
        ReportSink sink{&err, path, std::string(), !options.json};
        const char* failure = WritePatch(path.c_str(), *before.match, ReportSink::Report, &sink, files);
        after = IdentifyFile(path.c_str(), catalogue, files);
        identifiedAfter = true;
        if (failure) {
            message = failure;
            // Opening for update failed: the file was never touched.
            const bool untouched = message == "Could not open file.";
            result = untouched ? "cannot-open" : "write-failed";
            code = untouched ? exitCannotOpen : exitWriteFailed;
        } else if (!IsOtherStateOf(after, *before.match)) {
            result = "write-failed";
            message = "The bytes were written, but the file now reads as neither state.";
            code = exitWriteFailed;
        } else {
            result = unpatch ? "unpatched" : "patched";
            message = std::string(unpatch ? "Unpatched " : "Patched ") + before.match->displayName + ".";
        }
    }

    if (options.json) {
        out << "{\"file\": " << JsonString(path) << ", \"command\": \"" << (unpatch ? "unpatch" : "patch")
            << "\", \"result\": \"" << result << "\", \"message\": " << JsonString(message)
            << ", \"exitCode\": " << code << ",\n \"before\": " << IdentificationJson(before)
            << ",\n \"after\": " << (identifiedAfter ? IdentificationJson(after) : "null") << "}\n";
        return code;
    }
    if (code == exitSuccess) {
        out << message << "\n";
    } else if (!identifiedAfter) {
        err << "kelvara: " << path << ": " << message << "\n";
    } else if (result == "write-failed" && message.rfind("The bytes", 0) == 0) {
        err << "kelvara: " << path << ": " << message << "\n";
    }
    out << IdentificationText(path, identifiedAfter ? after : before);
    return code;
}

}  // namespace

std::string IdentificationText(const std::string& path, const Identification& identification)
{
    std::string text = path + "\n";
    text += std::string("  Recognised as: ") + RecognisedText(identification) + "\n";
    if (identification.outcome == Outcome::Matched)
        text += std::string("  Patch status:  ") + StatusText(identification) + "\n";
    if (identification.outcome != Outcome::CannotOpen)
        text += "  MD5:           " + DigestHex(identification.digest) + "\n";
    return text;
}

std::string IdentificationJson(const Identification& identification)
{
    const bool matched = identification.outcome == Outcome::Matched;
    const char* outcome = matched ? "matched"
                          : identification.outcome == Outcome::Unrecognised ? "unrecognised"
                                                                            : "cannot-open";
    std::string json = std::string("{\"outcome\": \"") + outcome + "\"";
    json += ", \"text\": " + JsonString(RecognisedText(identification));
    json += ", \"status\": " + JsonString(StatusText(identification));
    json += ", \"release\": " + (matched ? JsonString(identification.match->displayName) : "null");
    json += std::string(", \"patched\": ") + (matched ? (identification.match->isPatched ? "true" : "false") : "null");
    json += ", \"md5\": " + (identification.outcome == Outcome::CannotOpen
                                 ? std::string("null")
                                 : "\"" + DigestHex(identification.digest) + "\"");
    return json + "}";
}

int RunKelvara(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, FileAccess& files)
{
    Options options;
    std::string error;
    if (!ParseArguments(args, options, error)) {
        err << "kelvara: " << error << "\nTry 'kelvara --help'.\n";
        return exitUsage;
    }
    if (options.command == Command::Help) {
        out << HelpText();
        return exitSuccess;
    }
    if (options.command == Command::Version) {
        out << VersionText();
        return exitSuccess;
    }

    // Every added catalogue is read before any target is opened.
    AddedReleases added;
    for (const std::string& file : options.catalogueFiles) {
        if (!ReadCatalogueFile(file, added, error)) {
            err << "kelvara: " << error << "\n";
            return exitBadCatalogue;
        }
    }
    Catalogue catalogue;
    BuildCatalogue(catalogue);
    AppendReleases(added, catalogue);

    int code = exitSuccess;
    switch (options.command) {
    case Command::List:
        if (options.json) {
            out << "[";
            bool first = true;
            for (const KnownFile& entry : catalogue) {
                out << (first ? "\n" : ",\n") << " {\"release\": " << JsonString(entry.displayName)
                    << ", \"patched\": " << (entry.isPatched ? "true" : "false") << ", \"md5\": \""
                    << DigestHex(entry.digest) << "\", \"records\": [";
                for (std::int32_t i = 0; i < entry.recordCount; ++i) {
                    const PatchByte& r = entry.records[i];
                    out << (i ? ", " : "") << "{\"offset\": " << r.byteOffset << ", \"patched\": "
                        << int(r.patchedValue) << ", \"shipped\": " << int(r.shippedValue) << "}";
                }
                out << "]}";
                first = false;
            }
            out << "\n]\n";
        } else {
            out << FormatCatalogue(catalogue);
        }
        break;
    case Command::Identify:
        code = RunIdentify(options, catalogue, out, files);
        break;
    case Command::Patch:
    case Command::Unpatch:
        code = RunWrite(options, catalogue, out, err, files);
        break;
    default:
        break;
    }
    ReleaseCatalogue(catalogue);
    return code;
}
