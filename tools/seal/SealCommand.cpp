#include "tools/seal/SealCommand.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

#include "core/Checksum.h"
#include "core/HexNumber.h"
#include "core/IntegrityText.h"
#include "tools/seal/IniText.h"

namespace seal {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: telvarion-seal [--check] INSTALL_DIR\n"
    "Writes checkout (the checksum of Resource/bk.bmp) and SerialNO (the checksum of the seven\n"
    "texts) into the application section of INSTALL_DIR/Resource/Custom.ini.\n"
    "  --check  change nothing; exit 0 when both stored checksums match, 1 when one differs\n"
    "Exit status 2: bad arguments or input; Custom.ini is then left as it was.\n";

// A real Custom.ini is a few kilobytes; this only keeps a wrong file from filling memory.
constexpr size_t kIniSizeLimit = 16 * 1024 * 1024;

struct Installation {
    fs::path iniPath;
    IniFile ini;
    std::u16string section;
    uint32_t fileChecksum = 0;
    uint32_t textChecksum = 0;
};

std::string Utf8(std::u16string_view text) {
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
        if (c < 0x80) {
            bytes += char(c);
        } else if (c < 0x800) {
            bytes += char(0xC0 | c >> 6);
            bytes += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            bytes += char(0xE0 | c >> 12);
            bytes += char(0x80 | (c >> 6 & 0x3F));
            bytes += char(0x80 | (c & 0x3F));
        } else {
            bytes += char(0xF0 | c >> 18);
            bytes += char(0x80 | (c >> 12 & 0x3F));
            bytes += char(0x80 | (c >> 6 & 0x3F));
            bytes += char(0x80 | (c & 0x3F));
        }
    }
    return bytes;
}

std::string Shown(const fs::path& path) { return path.u8string(); }

// As the program traces it: "%x", lowercase, no prefix, no leading zeros.
std::string Hex(uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%x", unsigned(value));
    return text;
}

std::u16string Widen(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

bool IsAscii(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
}

// At most `limit` bytes from the start of a regular file; nullopt when it cannot be read.
std::optional<std::string> ReadFilePrefix(const fs::path& path, size_t limit) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes;
    char chunk[16384];
    while (bytes.size() < limit && in) {
        in.read(chunk, std::streamsize(std::min(sizeof chunk, limit - bytes.size())));
        bytes.append(chunk, size_t(in.gcount()));
    }
    if (in.bad()) return std::nullopt;
    return bytes;
}

// What the program's profile reader returns for a key of the installation copy, default empty.
std::u16string ReadAppValue(const Installation& install, std::u16string_view key) {
    std::optional<ProfileValue> value = GetProfileValue(install.ini.text, install.section, key);
    return value ? value->text : std::u16string();
}

std::optional<Installation> LoadInstallation(const fs::path& folder, std::ostream& err) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        err << "telvarion-seal: installation folder not found: " << Shown(folder) << '\n';
        return std::nullopt;
    }
    Installation install;
    const fs::path resource = folder / "Resource";
    install.iniPath = resource / "Custom.ini";
    const fs::path picturePath = resource / "bk.bmp";

    std::optional<std::string> picture = ReadFilePrefix(picturePath, checksum::kFileBufferSize);
    if (!picture) {
        err << "telvarion-seal: cannot read the panel picture " << Shown(picturePath) << '\n';
        return std::nullopt;
    }
    std::optional<std::string> iniBytes = ReadFilePrefix(install.iniPath, kIniSizeLimit + 1);
    if (!iniBytes) {
        err << "telvarion-seal: cannot read " << Shown(install.iniPath) << '\n';
        return std::nullopt;
    }
    if (iniBytes->size() > kIniSizeLimit) {
        err << "telvarion-seal: " << Shown(install.iniPath) << " is too large for a configuration file\n";
        return std::nullopt;
    }
    std::string encodingError;
    std::optional<IniFile> ini = DecodeIni(*iniBytes, encodingError);
    if (!ini) {
        err << "telvarion-seal: " << Shown(install.iniPath) << ": " << encodingError << '\n';
        return std::nullopt;
    }
    install.ini = std::move(*ini);

    std::optional<ProfileValue> company = GetProfileValue(install.ini.text, u"Company", u"Company");
    install.section = company ? company->text : u"SoftInfo";
    if (install.section.empty()) {
        err << "telvarion-seal: " << Shown(install.iniPath)
            << ": Company in section [Company] is empty, which names no application section\n";
        return std::nullopt;
    }

    std::u16string values[checksum::kTextValueCount];
    std::u16string_view views[checksum::kTextValueCount];
    bool asciiOnly = IsAscii(install.section);
    for (size_t i = 0; i < checksum::kTextValueCount; ++i) {
        const char16_t* key = checksum::kTextKeys[i];
        std::optional<ProfileValue> value = GetProfileValue(install.ini.text, install.section, key);
        if (value && value->truncated)
            err << "telvarion-seal: warning: " << Utf8(key) << " is longer than "
                << kProfileValueMax << " units; the program reads and checks only its first " << kProfileValueMax
                << '\n';
        // The program holds each value as a C string, which ends at a NUL unit.
        values[i] = value ? value->text.substr(0, value->text.find(u'\0')) : std::u16string();
        views[i] = values[i];
        asciiOnly = asciiOnly && IsAscii(values[i]);
    }
    if (install.ini.encoding == IniEncoding::Ansi && !asciiOnly)
        err << "telvarion-seal: warning: " << Shown(install.iniPath)
            << " is ANSI text with non-ASCII characters in the checked texts; they were read as Windows-1252 "
               "and the program reads them the same way only on systems with that code page. Save the file "
               "as UTF-16 LE to make the checksum independent of the code page.\n";

    install.fileChecksum = checksum::ComputeFileChecksum(
        reinterpret_cast<const unsigned char*>(picture->data()), picture->size());
    install.textChecksum = checksum::ComputeTextValuesChecksum(views);
    return install;
}

int Check(const Installation& install, std::ostream& out, std::ostream& err) {
    struct {
        const char16_t* key;
        uint32_t computed;
    } const sums[] = {{u"checkout", install.fileChecksum}, {u"SerialNO", install.textChecksum}};
    int result = kExitOk;
    for (const auto& sum : sums) {
        uint32_t expected = ParseHex32(ReadAppValue(install, sum.key).c_str());
        if (expected == sum.computed) continue;
        err << Utf8(sum.key) << " differs: expected " << Hex(expected) << ", computed " << Hex(sum.computed) << '\n';
        result = kExitMismatch;
    }
    if (result == kExitOk) out << "checkout and SerialNO match in " << Shown(install.iniPath) << '\n';
    return result;
}

bool MoveOver(const fs::path& from, const fs::path& to) {
#ifdef _WIN32
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    std::error_code ec;
    fs::rename(from, to, ec);
    return !ec;
#endif
}

// Replaces the file's content through a complete copy beside it, so that a reader (or a crash)
// never meets a half-written Custom.ini.
bool ReplaceContent(const fs::path& target, const std::string& bytes, std::ostream& err) {
    // Renaming over a read-only file would succeed on Linux; the file's own write permission
    // is what the deployer set, so it is what counts.
    if (!std::fstream(target, std::ios::in | std::ios::out | std::ios::binary)) {
        err << "telvarion-seal: " << Shown(target) << " is not writable\n";
        return false;
    }
    fs::path temporary = target;
    temporary += ".seal-tmp";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    std::error_code ec;
    if (!out) {
        err << "telvarion-seal: cannot write " << Shown(temporary) << '\n';
        fs::remove(temporary, ec);
        return false;
    }
    const fs::file_status original = fs::status(target, ec);
    if (!ec) fs::permissions(temporary, original.permissions(), ec);
    if (!MoveOver(temporary, target)) {
        err << "telvarion-seal: cannot replace " << Shown(target) << " with " << Shown(temporary) << '\n';
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

int Seal(const Installation& install, std::ostream& out, std::ostream& err) {
    IniFile sealed = install.ini;
    SetProfileValue(sealed.text, install.section, u"checkout", Widen(Hex(install.fileChecksum)));
    SetProfileValue(sealed.text, install.section, u"SerialNO", Widen(Hex(install.textChecksum)));
    const std::string summary = "checkout=" + Hex(install.fileChecksum) + " SerialNO=" + Hex(install.textChecksum) +
                                " in section [" + Utf8(install.section) + "] of " + Shown(install.iniPath);
    if (sealed.text == install.ini.text) {
        out << "already sealed: " << summary << '\n';
        return kExitOk;
    }
    std::optional<std::string> bytes = EncodeIni(sealed);
    if (!bytes) {
        err << "telvarion-seal: the sealed text cannot be written back as ANSI\n";
        return kExitFailure;
    }
    if (!ReplaceContent(install.iniPath, *bytes, err)) return kExitFailure;
    out << "sealed: " << summary << '\n';
    return kExitOk;
}

}  // namespace

int RunSealCommand(const std::vector<fs::path>& args, std::ostream& out, std::ostream& err) {
    bool checkOnly = false;
    std::optional<fs::path> folder;
    for (const fs::path& arg : args) {
        const auto& text = arg.native();
        if (text == fs::path("--check").native()) {
            checkOnly = true;
        } else if (text == fs::path("--help").native() || text == fs::path("-h").native()) {
            out << kUsage;
            return kExitOk;
        } else if (text.size() > 1 && text[0] == '-') {
            err << "telvarion-seal: unknown option " << Shown(arg) << '\n' << kUsage;
            return kExitFailure;
        } else if (folder) {
            err << "telvarion-seal: one installation folder only\n" << kUsage;
            return kExitFailure;
        } else {
            folder = arg;
        }
    }
    if (!folder) {
        err << kUsage;
        return kExitFailure;
    }
    std::optional<Installation> install = LoadInstallation(*folder, err);
    if (!install) return kExitFailure;
    return checkOnly ? Check(*install, out, err) : Seal(*install, out, err);
}

}  // namespace seal
