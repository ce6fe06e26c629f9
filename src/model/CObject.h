#pragma once
#include <memory>
#include <string>

class CArchive;

// Base of every serialisable class. Each class has a name and a schema under
// which it is written, and can be created empty from its name when read.
class CObject {
public:
    virtual ~CObject() = default;
    // Stores or loads the object's own fields. Storing never changes the object.
    virtual void Serialize(CArchive& ar);
    // The name written in a file's new-class tag ("CSpellingList", ...).
    virtual const char* GetClassName() const = 0;
    virtual unsigned GetSchema() const { return 0; }
};

// What the archive needs to know about a serialisable class.
struct CClassInfo {
    using Factory = std::unique_ptr<CObject> (*)();
    const char* name;
    unsigned schema;
    Factory factory;
};

// Creates an empty object of a registered class; null for an unknown name.
std::unique_ptr<CObject> CreateObjectByName(const std::string& className);
// The schema registered for a class name; false for an unknown name.
bool GetRegisteredSchema(const std::string& className, unsigned& schema);
// The registered class of that name, or null.
const CClassInfo* FindRegisteredClass(const std::string& className);
// Adds a class to the registry; registering the same name again changes nothing.
void RegisterClass(const CClassInfo& info);

// Registers a class while static objects are initialised (see KELTO4_IMPLEMENT_SERIAL).
struct CClassRegistration {
    explicit CClassRegistration(const CClassInfo& info) { RegisterClass(info); }
};

// How classes get into the registry.
// - The classes of the files (CSpellingList, CGrade, CMissed, CUser) are entered by the
//   registry itself on first use, so they are known in every program that reads a file,
//   however the linker treats the static library.
// - Any other class (CSpellingRules) writes KELTO4_DECLARE_SERIAL(Class) in its class body
//   and KELTO4_IMPLEMENT_SERIAL(Class, Schema) in its .cpp. The static registration there
//   runs whenever that .cpp is linked, i.e. whenever the program uses the class. A program
//   that must know the name without otherwise using the class (a file dumper, a fuzzer)
//   calls RegisterClass(Class::GetClassInfo()) once; that reference also links the .cpp.
#define KELTO4_DECLARE_SERIAL(Class)                                      \
public:                                                                   \
    static constexpr const char* kClassName = #Class;                     \
    static const CClassInfo& GetClassInfo();                              \
    const char* GetClassName() const override { return kClassName; }      \
    unsigned GetSchema() const override { return GetClassInfo().schema; }

#define KELTO4_IMPLEMENT_SERIAL(Class, Schema)                                          \
    const CClassInfo& Class::GetClassInfo()                                             \
    {                                                                                   \
        static const CClassInfo info{                                                   \
            #Class, Schema, []() -> std::unique_ptr<CObject> { return std::make_unique<Class>(); }}; \
        return info;                                                                    \
    }                                                                                   \
    static const CClassRegistration s_register##Class(Class::GetClassInfo());
