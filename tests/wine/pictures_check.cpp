// The program's pictures as the Windows build carries them: each name is a bitmap resource of the module
// (compiled from the generated .rc), parses, and becomes a device bitmap whose bottom-left pixel, the colour a
// bitmap button leaves transparent, is the button face of the pictures' background. Exits 0, or 1 with each
// failure on its own line.
//
// Usage: pictures_check <file of names, one a line>...
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/forms/bitmap.h"
#include "platform/text.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"
#include "wine_checks.h"

using namespace wine_checks;

namespace {

constexpr COLORREF kFace = RGB(0xF0, 0xF0, 0xF0);

void CheckPicture(Checks& checks, const std::wstring& name) {
    const std::string what = Narrow(name);
    platform::forms::Bitmap picture;
    try {
        picture = platform::forms::Bitmap::FromResource(name);
    } catch (const platform::Exception& e) {
        checks.Expect(false, what + ": " + Narrow(e.Message()));
        return;
    }
    const platform::Bytes& dib = picture.Dib();
    HDC screen = ::GetDC(nullptr);
    HBITMAP native = ::CreateDIBitmap(screen, reinterpret_cast<const BITMAPINFOHEADER*>(dib.data()), CBM_INIT,
                                      dib.data() + picture.PixelOffset(),
                                      reinterpret_cast<const BITMAPINFO*>(dib.data()), DIB_RGB_COLORS);
    HDC memory = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    checks.Expect(native != nullptr, what + ": no device bitmap");
    if (native) {
        HGDIOBJ old = ::SelectObject(memory, native);
        const COLORREF corner = ::GetPixel(memory, 0, picture.Height() - 1);
        checks.Expect(corner == kFace, what + ": bottom-left pixel " + std::to_string(corner));
        ::SelectObject(memory, old);
        ::DeleteObject(native);
    }
    ::DeleteDC(memory);
}

}  // namespace

int main(int argc, char** argv) {
    Checks checks;
    platform::win32::Win32Platform platform;
    int pictures = 0;
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i]);
        checks.Expect(in.good(), std::string("cannot read ") + argv[i]);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            if (!line.empty()) {
                CheckPicture(checks, platform::Utf8ToWide(line));
                ++pictures;
            }
        }
    }
    checks.Expect(pictures > 0, "no picture names given");
    std::printf("pictures_check: %d pictures, %d checks, %d failed\n", pictures, checks.Count(), checks.Failed());
    return checks.Failed() == 0 ? 0 : 1;
}
