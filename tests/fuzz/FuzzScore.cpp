// The score file and the sealing library: any file loads as rankings or the defaults, and any
// block handed to the library is opened or refused within the caller's buffers.
#include <vector>

#include "game/score/ScoreTable.h"
#include "sealer/WEN_Secret.h"
#include "tests/fuzz/FuzzCurrentFolder.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzCurrentFolder inScratch;
    WriteFuzzInput("sh.dat", data, size);
    ScoreTable table;
    table.Load();
    std::vector<std::uint8_t> sealed(data, data + size);
    for (int bind : {0, 1}) {
        std::vector<std::uint8_t> plain(size + 16);
        int length = static_cast<int>(plain.size());
        GetSecret(plain.data(), &length, sealed.data(), static_cast<int>(sealed.size()), bind);
    }
    return 0;
}
