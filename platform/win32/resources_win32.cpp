#include "platform/win32/resources_win32.h"

#include <cstring>

#include "platform/bytes.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

namespace {

HMODULE OwnModule() {
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&OwnModule), &module);
    return module;
}

void PutLe(Bytes& out, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// A bitmap resource is the file without its 14-byte file header:
//   offset 0  4  header size (12 for the old core header, 40 or more otherwise)
//   offset 14 2  bits per pixel (core header: offset 10)
//   offset 16 4  compression (3: three colour masks follow a 40-byte header)
//   offset 32 4  colours used (0: all that the bit depth allows, for 8 bits or fewer)
// The file header puts the pixels after the header, the masks and the colour table.
Bytes WithFileHeader(const std::uint8_t* dib, std::size_t size) {
    std::uint32_t offBits = 14;
    if (size >= 4) {
        const std::uint32_t headerSize = ReadLe32(dib);
        std::uint32_t colours = 0;
        std::uint32_t entrySize = 4;
        std::uint32_t masks = 0;
        if (headerSize == 12 && size >= 12) {
            const std::uint32_t bits = ReadLe16(dib + 10);
            colours = bits <= 8 ? (1u << bits) : 0;
            entrySize = 3;
        } else if (headerSize >= 40 && size >= 36) {
            const std::uint32_t bits = ReadLe16(dib + 14);
            const std::uint32_t used = ReadLe32(dib + 32);
            colours = used != 0 ? used : (bits <= 8 ? (1u << bits) : 0);
            masks = (headerSize == 40 && ReadLe32(dib + 16) == 3) ? 12 : 0;
        }
        const std::uint64_t off = 14ull + headerSize + masks + static_cast<std::uint64_t>(colours) * entrySize;
        offBits = off <= 14 + size ? static_cast<std::uint32_t>(off) : static_cast<std::uint32_t>(14 + size);
    }
    Bytes out{'B', 'M'};
    PutLe(out, static_cast<std::uint32_t>(14 + size), 4);
    PutLe(out, 0, 4);
    PutLe(out, offBits, 4);
    out.insert(out.end(), dib, dib + size);
    return out;
}

}  // namespace

std::optional<Bytes> Win32Resources::Find(const std::wstring& name, ResourceType type) {
    const HMODULE module = OwnModule();
    const LPCWSTR kind = type == ResourceType::Bitmap ? MAKEINTRESOURCEW(2) : MAKEINTRESOURCEW(10);
    HRSRC found = ::FindResourceW(module, name.c_str(), kind);
    if (!found) {
        return std::nullopt;
    }
    const DWORD size = ::SizeofResource(module, found);
    HGLOBAL loaded = ::LoadResource(module, found);
    const auto* data = static_cast<const std::uint8_t*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!data && size > 0) {
        return std::nullopt;
    }
    if (type == ResourceType::Bitmap) {
        return WithFileHeader(data, size);
    }
    return Bytes(data, data + size);
}

}  // namespace platform::win32
