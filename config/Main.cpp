// The tool's entry: the framework runs the application object g_configApp.
#include "platform/mfc/AfxModuleState.h"

int main()
{
    return AfxWinMain();
}
