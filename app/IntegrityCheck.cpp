#include "app/IntegrityCheck.h"
#include "app/Configuration.h"
#include "core/Checksum.h"
#include "core/HexNumber.h"
#include "core/IntegrityText.h"
#include "diag/DebugTrace.h"
#include "framework/Application.h"
#include "framework/Text.h"
#include "platform/Platform.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

bool Fail() {
    CApplication* app = AfxGetApp();
    Platform().MessageBox(nullptr, L"File error, please reinstall!", app ? app->AppName() : L"", MB_ICONERROR | MB_OK);
    return false;
}

uint32_t ReadExpected(const wchar_t* key) {
    wchar_t text[kTextUnits] = L"";
    ReadAppString(key, text);
    return ParseHex32(text);
}

// One read of at most the buffer's size; only the bytes read take part. The picture is
// user-replaceable, so an image program may well have it open: sharing every access keeps
// that from being taken for a missing file; the bytes still decide.
bool ReadPicture(std::vector<unsigned char>& bytes) {
    wchar_t path[kTextUnits];
    if (!FormatText(path, kTextUnits, L"%s\\Resource\\%s", GetModuleDir().text, L"bk.bmp")) return false;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes.assign(checksum::kFileBufferSize, 0);
    DWORD got = 0;
    if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) got = 0;
    CloseHandle(file);
    bytes.resize(got);
    return true;
}

}  // namespace

bool CheckResourceIntegrity() {
    const uint32_t expectedFile = ReadExpected(L"checkout");
    std::vector<unsigned char> picture;
    if (!ReadPicture(picture)) return Fail();
    const uint32_t file = checksum::ComputeFileChecksum(picture.data(), picture.size());
    if (file != expectedFile) {
        TraceLog(L"CheckOut = %x", file);
        return Fail();
    }

    const uint32_t expectedText = ReadExpected(L"SerialNO");
    TraceLog(L"iniSerialNO = [%x]", expectedText);
    // The seven values may together pass any fixed buffer; the checksum covers all of them.
    wchar_t values[checksum::kTextValueCount][kTextUnits] = {};
    std::wstring_view views[checksum::kTextValueCount];
    for (size_t i = 0; i < checksum::kTextValueCount; ++i) {
        const wchar_t* key = checksum::kTextKeysW[i];
        ReadAppString(key, values[i]);
        TraceLog(L"%s = [%s]", key, values[i]);
        views[i] = values[i];
    }
    const uint32_t text = checksum::ComputeTextValuesChecksum(views);
    if (text != expectedText) {
        TraceLog(L"SerialNO = [%x]", text);
        return Fail();
    }
    return true;
}
