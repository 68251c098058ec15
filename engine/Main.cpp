#include "engine/Application.h"
#include "engine/ErrorStringId.h"

// The program's exit status is WinMain's result (so -2, another copy running, exits as 254).
int main()
{
    RegisterProgramStrings();
    return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
}
