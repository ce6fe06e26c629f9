#pragma once
#include <memory>
#include <string>

class CArchive;

// Base of every serialisable class. Each class has a name and a schema under
// which it is written, and can be created empty from its name when read.
class CObject {
public:
    virtual ~CObject() = default;
    virtual void Serialize(CArchive& ar);
    // The name written in a file's new-class tag ("CSpellingList", ...).
    virtual const char* GetClassName() const = 0;
    virtual unsigned GetSchema() const { return 0; }
};

// Creates an empty object of a registered class; null for an unknown name.
std::unique_ptr<CObject> CreateObjectByName(const std::string& className);
// The schema registered for a class name; false for an unknown name.
bool GetRegisteredSchema(const std::string& className, unsigned& schema);

// Registers a class with the archive's class registry. Use once per class, in its .cpp.
struct CClassRegistration {
    using Factory = std::unique_ptr<CObject> (*)();
    CClassRegistration(const char* name, unsigned schema, Factory factory);
};

#define KELTO4_DECLARE_SERIAL(Class)                                      \
public:                                                                   \
    static constexpr const char* kClassName = #Class;                     \
    const char* GetClassName() const override { return kClassName; }

#define KELTO4_IMPLEMENT_SERIAL(Class, Schema)                            \
    static const CClassRegistration s_register##Class(                   \
        #Class, Schema, []() -> std::unique_ptr<CObject> { return std::make_unique<Class>(); });
