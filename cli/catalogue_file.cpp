#include "catalogue_file.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <set>

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool ParseDigest(const std::string& token, std::uint8_t digest[16])
{
    if (token.size() != 32)
        return false;
    for (std::size_t i = 0; i < 16; ++i) {
        const int high = HexValue(token[2 * i]), low = HexValue(token[2 * i + 1]);
        if (high < 0 || low < 0)
            return false;
        digest[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return true;
}

// Hex digits with an optional 0x, no sign, at most `maxValue`.
bool ParseHex(const std::string& text, unsigned long long maxValue, unsigned long long& value)
{
    std::size_t at = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        at = 2;
    if (at == text.size())
        return false;
    value = 0;
    for (; at < text.size(); ++at) {
        const int digit = HexValue(text[at]);
        if (digit < 0)
            return false;
        value = value * 16 + static_cast<unsigned>(digit);
        if (value > maxValue)
            return false;
    }
    return true;
}

std::string HexText(unsigned long long value, int width)
{
    char text[24];
    std::snprintf(text, sizeof text, "%0*llX", width, value);
    return text;
}

std::string Quoted(const std::string& token) { return "'" + token + "'"; }

bool ParseRecord(const std::string& token, int number, PatchByte& record, std::string& error)
{
    const std::string shape = "record " + std::to_string(number) + " " + Quoted(token) +
                              ": expected OFFSET:PATCHED/SHIPPED in hexadecimal, such as 0x148:F1/00";
    const std::size_t colon = token.find(':');
    const std::size_t slash = token.find('/', colon == std::string::npos ? 0 : colon);
    if (colon == std::string::npos || slash == std::string::npos) {
        error = shape;
        return false;
    }
    unsigned long long offset, patched, shipped;
    const std::string offsetText = token.substr(0, colon);
    const std::string patchedText = token.substr(colon + 1, slash - colon - 1);
    const std::string shippedText = token.substr(slash + 1);
    if (!ParseHex(offsetText, ~0ull >> 4, offset) || !ParseHex(patchedText, 0xFFFFFFFF, patched) ||
        !ParseHex(shippedText, 0xFFFFFFFF, shipped)) {
        error = shape;
        return false;
    }
    if (offset > 0x7FFFFFFF) {
        error = "record " + std::to_string(number) + ": offset " + offsetText + " is too large (at most 0x7FFFFFFF)";
        return false;
    }
    if (patched > 0xFF || shipped > 0xFF) {
        error = "record " + std::to_string(number) + ": a byte value is above FF";
        return false;
    }
    if (patched == shipped) {
        error = "record " + std::to_string(number) + ": the patched and shipped values are the same";
        return false;
    }
    record.byteOffset = static_cast<std::int32_t>(offset);
    record.patchedValue = static_cast<std::uint8_t>(patched);
    record.shippedValue = static_cast<std::uint8_t>(shipped);
    return true;
}

// The name: "..." with \" and \\ as the only escapes. Leaves `at` after the closing quote.
bool ParseName(const std::string& line, std::size_t& at, std::string& name, std::string& error)
{
    if (at >= line.size() || line[at] != '"') {
        error = "expected the release name in double quotes";
        return false;
    }
    for (++at; at < line.size(); ++at) {
        char c = line[at];
        if (c == '"') {
            ++at;
            if (name.empty()) {
                error = "the release name is empty";
                return false;
            }
            if (at < line.size() && line[at] != ' ' && line[at] != '\t') {
                error = "expected a space after the release name";
                return false;
            }
            return true;
        }
        if (c == '\\') {
            if (at + 1 >= line.size() || (line[at + 1] != '"' && line[at + 1] != '\\')) {
                error = "in the release name, a backslash must be followed by \" or \\";
                return false;
            }
            c = line[++at];
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            error = "the release name holds a control character";
            return false;
        }
        name += c;
    }
    error = "the release name has no closing double quote";
    return false;
}

}  // namespace

bool ParseCatalogueLine(const std::string& line, AddedReleases& releases, std::string& error)
{
    std::size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line[at] == '#')
        return true;

    AddedRelease release;
    if (!ParseName(line, at, release.name, error))
        return false;

    // The rest splits at blanks; a '#' starts a comment.
    std::vector<std::string> tokens;
    std::string rest = line.substr(at);
    const std::size_t comment = rest.find('#');
    if (comment != std::string::npos)
        rest.erase(comment);
    for (std::size_t from = 0;;) {
        from = rest.find_first_not_of(" \t", from);
        if (from == std::string::npos)
            break;
        const std::size_t to = rest.find_first_of(" \t", from);
        tokens.push_back(rest.substr(from, to == std::string::npos ? std::string::npos : to - from));
        from = to;
    }

    if (tokens.empty() || !ParseDigest(tokens[0], release.patchedDigest)) {
        error = "expected the patched file's MD5 (32 hexadecimal digits)" +
                (tokens.empty() ? std::string() : ", found " + Quoted(tokens[0]));
        return false;
    }
    if (tokens.size() < 2 || !ParseDigest(tokens[1], release.shippedDigest)) {
        error = "expected the shipped file's MD5 (32 hexadecimal digits)" +
                (tokens.size() < 2 ? std::string() : ", found " + Quoted(tokens[1]));
        return false;
    }
    if (std::memcmp(release.patchedDigest, release.shippedDigest, 16) == 0) {
        error = "the patched and shipped MD5 are the same";
        return false;
    }
    const std::size_t recordCount = tokens.size() - 2;
    if (recordCount < 1 || recordCount > maxRecordsPerRelease) {
        error = "expected 1 to " + std::to_string(maxRecordsPerRelease) + " patch records, found " +
                std::to_string(recordCount);
        return false;
    }
    std::set<std::int32_t> offsets;
    for (std::size_t i = 0; i < recordCount; ++i) {
        PatchByte record;
        const int number = static_cast<int>(i) + 1;
        if (!ParseRecord(tokens[i + 2], number, record, error))
            return false;
        // Two records at one offset would leave an unpatched file different from the shipped one.
        if (!offsets.insert(record.byteOffset).second) {
            error = "record " + std::to_string(number) + ": offset 0x" + HexText(static_cast<unsigned>(record.byteOffset), 1) +
                    " appears twice";
            return false;
        }
        release.records.push_back(record);
    }
    releases.push_back(std::move(release));
    return true;
}

bool ReadCatalogueFile(const std::string& path, AddedReleases& releases, std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = path + ": cannot open the catalogue file";
        return false;
    }
    AddedReleases read;
    std::string line;
    int lineNumber = 0;
    bool ok = true;
    for (bool more = true; more && ok;) {
        line.clear();
        int c;
        while ((c = std::getc(file)) != EOF && c != '\n')
            line += static_cast<char>(c);
        if (c == EOF) {
            more = false;
            if (std::ferror(file)) {
                // A directory lands here on Linux.
                error = path + ": cannot read the catalogue file";
                ok = false;
                break;
            }
            if (line.empty())
                break;
        }
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (lineNumber == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.erase(0, 3);
        std::string what;
        if (!ParseCatalogueLine(line, read, what)) {
            error = path + ":" + std::to_string(lineNumber) + ": " + what;
            ok = false;
        }
    }
    std::fclose(file);
    if (ok)
        releases.splice(releases.end(), read);
    return ok;
}

void AppendReleases(const AddedReleases& releases, Catalogue& catalogue)
{
    for (const AddedRelease& release : releases) {
        const auto count = static_cast<std::int32_t>(release.records.size());
        catalogue.push_back({release.patchedDigest, release.name.c_str(), 1, release.records.data(), count});
        catalogue.push_back({release.shippedDigest, release.name.c_str(), 0, release.records.data(), count});
    }
}

std::string FormatCatalogue(const Catalogue& catalogue)
{
    std::string text = "# \"Release name\" PATCHED-MD5 SHIPPED-MD5 OFFSET:PATCHED/SHIPPED ...\n";
    for (auto it = catalogue.begin(); it != catalogue.end(); ++it) {
        const KnownFile& patched = *it;
        auto next = std::next(it);
        // Every catalogue is built in pairs, patched first; a lone entry cannot be written.
        if (next == catalogue.end() || !patched.isPatched || next->isPatched || next->records != patched.records)
            continue;
        const KnownFile& shipped = *next;
        text += '"';
        for (const char* c = patched.displayName; *c; ++c) {
            if (*c == '"' || *c == '\\')
                text += '\\';
            text += *c;
        }
        text += '"';
        for (const std::uint8_t* digest : {patched.digest, shipped.digest}) {
            text += ' ';
            for (int i = 0; i < 16; ++i) {
                char pair[3];
                std::snprintf(pair, sizeof pair, "%02x", digest[i]);
                text += pair;
            }
        }
        for (std::int32_t i = 0; i < patched.recordCount; ++i) {
            const PatchByte& record = patched.records[i];
            text += " 0x" + HexText(static_cast<unsigned>(record.byteOffset), 1) + ":" +
                    HexText(record.patchedValue, 2) + "/" + HexText(record.shippedValue, 2);
        }
        text += '\n';
        it = next;
    }
    return text;
}
