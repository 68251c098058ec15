// The tool's entry: the framework runs the application object g_configApp.
#include "platform/mfc/CWinApp.h"

int main()
{
    return AfxWinMain();
}
