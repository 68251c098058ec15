// The settings file: any content reads as values or defaults, and a written key reads back.
#include <string>

#include "platform/win32/Win32.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string path = WriteFuzzInput("Pellmoor.ini", data, size);
    for (const char* key : {"SCREEN_MODE", "DEVICECHECK", "FOG"}) {
        GetPrivateProfileIntA("MODE", key, 7, path.c_str());
    }
    if (WritePrivateProfileStringA("MODE", "FOG", "1", path.c_str())) {
        FuzzCheck(GetPrivateProfileIntA("MODE", "FOG", 7, path.c_str()) == 1, "a written key reads back");
        FuzzCheck(WritePrivateProfileStringA("MODE", "SCREEN_MODE", "0", path.c_str()), "a second write");
        FuzzCheck(GetPrivateProfileIntA("MODE", "FOG", 7, path.c_str()) == 1, "a write keeps other keys");
    }
    return 0;
}
