#include "tests/fuzz/FuzzCurrentFolder.h"

#include <fcntl.h>
#include <unistd.h>

#include "tests/fuzz/FuzzSupport.h"

FuzzCurrentFolder::FuzzCurrentFolder() : previous_(open(".", O_PATH | O_DIRECTORY | O_CLOEXEC))
{
    FuzzCheck(previous_ >= 0, "the current folder opens");
    FuzzCheck(chdir(FuzzFolder().c_str()) == 0, "the scratch folder becomes current");
}

FuzzCurrentFolder::~FuzzCurrentFolder()
{
    FuzzCheck(fchdir(previous_) == 0, "the folder that was current becomes current again");
    close(previous_);
}
