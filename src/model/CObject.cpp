#include "model/CObject.h"

#include "model/CGrade.h"
#include "model/CMissed.h"
#include "model/CSpellingList.h"
#include "model/CUser.h"

#include <map>
#include <mutex>
#include <string_view>

namespace {
class CClassRegistry {
public:
    // The classes of the files are entered here, not by their static registrations,
    // which a linker may leave out of a program built from the static library.
    CClassRegistry()
    {
        Add(CSpellingList::GetClassInfo());
        Add(CGrade::GetClassInfo());
        Add(CMissed::GetClassInfo());
        Add(CUser::GetClassInfo());
    }
    void Add(const CClassInfo& info)
    {
        std::lock_guard lock(m_mutex);
        m_classes.emplace(info.name, &info);
    }
    const CClassInfo* Find(std::string_view name)
    {
        std::lock_guard lock(m_mutex);
        auto it = m_classes.find(name);
        return it == m_classes.end() ? nullptr : it->second;
    }

private:
    std::mutex m_mutex;
    std::map<std::string_view, const CClassInfo*, std::less<>> m_classes;
};

CClassRegistry& Registry()
{
    static CClassRegistry registry;
    return registry;
}
}

void CObject::Serialize(CArchive&) {}

void RegisterClass(const CClassInfo& info)
{
    Registry().Add(info);
}

const CClassInfo* FindRegisteredClass(const std::string& className)
{
    return Registry().Find(className);
}

std::unique_ptr<CObject> CreateObjectByName(const std::string& className)
{
    const CClassInfo* info = FindRegisteredClass(className);
    return info ? info->factory() : nullptr;
}

bool GetRegisteredSchema(const std::string& className, unsigned& schema)
{
    const CClassInfo* info = FindRegisteredClass(className);
    if (!info)
        return false;
    schema = info->schema;
    return true;
}
