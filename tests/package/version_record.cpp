// version_record FILE: prints the version record of FILE as Windows reads it,
// one line each: the fixed file version, then the FileVersion and
// ProductVersion texts of the record's first language. Exits 1 when FILE has
// no record.
#include <windows.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string text_value(const std::vector<char>& record, const WORD* language, const char* name)
{
    char key[64];
    std::snprintf(key, sizeof key, "\\StringFileInfo\\%04x%04x\\%s", language[0], language[1], name);
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(record.data(), key, reinterpret_cast<void**>(&value), &length) || value == nullptr)
        return "(none)";
    return value;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: version_record FILE\n");
        return 2;
    }
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(argv[1], &ignored);
    std::vector<char> record(size);
    if (size == 0 || !GetFileVersionInfoA(argv[1], 0, size, record.data())) {
        std::fprintf(stderr, "version_record: no version record in %s\n", argv[1]);
        return 1;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    WORD* language = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&fixed), &length) ||
        length < sizeof *fixed || fixed->dwSignature != 0xFEEF04BD ||
        !VerQueryValueA(record.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&language),
                        &length) ||
        length < 4) {
        std::fprintf(stderr, "version_record: an incomplete version record in %s\n", argv[1]);
        return 1;
    }
    std::printf("%u.%u.%u.%u\n", unsigned(HIWORD(fixed->dwFileVersionMS)), unsigned(LOWORD(fixed->dwFileVersionMS)),
                unsigned(HIWORD(fixed->dwFileVersionLS)), unsigned(LOWORD(fixed->dwFileVersionLS)));
    std::printf("%s\n", text_value(record, language, "FileVersion").c_str());
    std::printf("%s\n", text_value(record, language, "ProductVersion").c_str());
    return 0;
}
