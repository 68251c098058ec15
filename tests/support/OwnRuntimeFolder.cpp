#include "tests/support/OwnRuntimeFolder.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

OwnRuntimeFolder::OwnRuntimeFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "test-runtime-XXXXXX").string();
    if (mkdtemp(pattern.data())) {
        path_ = pattern;
        setenv("XDG_RUNTIME_DIR", path_.c_str(), 1);
    }
}

OwnRuntimeFolder::~OwnRuntimeFolder()
{
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}
