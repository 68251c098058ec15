#include "platform/mfc/DialogTemplate.h"

#include <map>
#include <mutex>

namespace {

std::mutex g_templateMutex;
std::map<UINT, DialogTemplate>& Templates()
{
    static std::map<UINT, DialogTemplate> templates;
    return templates;
}

}  // namespace

void AfxRegisterDialogTemplate(const DialogTemplate& dialogTemplate)
{
    std::lock_guard lock(g_templateMutex);
    Templates()[dialogTemplate.id] = dialogTemplate;
}

const DialogTemplate* AfxFindDialogTemplate(UINT id)
{
    std::lock_guard lock(g_templateMutex);
    auto it = Templates().find(id);
    return it == Templates().end() ? nullptr : &it->second;
}
