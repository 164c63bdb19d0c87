// Embedded resources: the build embeds data/ (CMakeLists.txt) as table entries for the sim and as module
// resources for win32; both give back the files' exact bytes, a bitmap with its file header.
#include "platform/platform.h"
#include "platform/resources.h"
#include "platform_under_test.h"

namespace contract {
namespace {

using platform::Bytes;
using platform::ResourceType;

// data/contract_bitmap.bmp, a 2 x 1 bitmap of 24 bits per pixel:
//   offset  0  size 14  file header: "BM", file size 62, pixels at 54
//   offset 14  size 40  info header: 2 x 1, 1 plane, 24 bits, no compression, 8 bytes of pixels
//   offset 54  size  8  one blue and one red pixel, two bytes of row padding
const Bytes kBitmapFile = {
    'B', 'M', 62, 0, 0, 0,   0, 0, 0, 0, 54, 0, 0, 0,                                 //
    40,  0,   0,  0, 2, 0,   0, 0, 1, 0, 0,  0, 1, 0, 24, 0, 0, 0, 0, 0, 8, 0, 0, 0,  //
    0,   0,   0,  0, 0, 0,   0, 0, 0, 0, 0,  0, 0, 0, 0,  0,                          //
    255, 0,   0,  0, 0, 255, 0, 0,                                                    //
};
const Bytes kData = {0x00, 0x01, 0x1B, 0x1D, 0xFE, 0xFF, 0x0D, 0x0A, 0x1A};

using ResourcesContract = ContractTest;

TEST_F(ResourcesContract, FoundByNameWithoutRegardToCase) {
    const struct {
        const char* name;
        std::wstring lookup;
        ResourceType type;
        std::optional<Bytes> expected;
    } cases[] = {
        {"data, same spelling", L"ContractData", ResourceType::RCData, kData},
        {"data, upper case", L"CONTRACTDATA", ResourceType::RCData, kData},
        {"name starting with digits", L"00_contract", ResourceType::RCData, kData},
        {"bitmap with its file header", L"contractbitmap", ResourceType::Bitmap, kBitmapFile},
        {"other type", L"ContractData", ResourceType::Bitmap, std::nullopt},
        {"unknown name", L"ContractDataX", ResourceType::RCData, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::resources().Find(c.lookup, c.type), c.expected);
    }
}

}  // namespace
}  // namespace contract
