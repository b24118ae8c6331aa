// The type registry: lookup by name, "is a", event ids and methods through
// the hierarchy, late binding by parent name, creation by name.
#include <gtest/gtest.h>

#include <tuple>

#include "nycore/system/runtime.h"
#include "tests/support/child_process.h"

using namespace NyCore;

namespace {

int answerFromA(Object*, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t) { return 1; }
int answerFromB(Object*, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t) { return 2; }
int onlyInA(Object*, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t) { return 3; }

char16_t const* const eventsOfA[] = {u"x", u"y", nullptr};
char16_t const* const eventsOfB[] = {u"a", nullptr};
MethodEntry const methodsOfA[] = {{u"answer", answerFromA}, {u"onlyInA", onlyInA}, {nullptr, nullptr}};
MethodEntry const methodsOfB[] = {{u"answer", answerFromB}, {nullptr, nullptr}};

class A : public Object {
    NY_REFLECTIVE(A)
public:
    static Object* __create() { return new A(); }
    int field = 7;
};

// B names its parent only by name, as a class whose base lives in another module does.
class B : public A {
    NY_REFLECTIVE(B)
};

TypeData A::MetaData = {&Object::MetaData, nullptr, u"Test.A"_str, methodsOfA, eventsOfA, &A::__create, sizeof(A), 0, nullptr};
TypeData B::MetaData = {nullptr, u"Test.A"_str, u"Test.B"_str, methodsOfB, eventsOfB, nullptr, sizeof(B), 0, nullptr};

}

TEST(TypeRegistry, LateBindingWaitsForTheParentAndWalksStopUntilThen)
{
    // A fresh copy of B's record: the static one stays bound once any test has registered A.
    TypeData unbound = B::MetaData;
    unbound.parent = nullptr;
    Type* b = asType(&unbound);
    EXPECT_EQ(b->get$parent(), nullptr) << "parent not registered yet";
    EXPECT_EQ(b->getEventId(u"x"), -1);
    EXPECT_EQ(b->getMethod(u"onlyInA"), nullptr);
    EXPECT_FALSE(b->isOfType(u"NyCore.Object"_str));

    Type::registerType(&A::MetaData);
    EXPECT_EQ(A::MetaData.self, &A::MetaData);
    EXPECT_EQ(b->get$parent(), asType(&A::MetaData));
    EXPECT_TRUE(b->isOfType(u"NyCore.Object"_str));
    EXPECT_TRUE(b->isOfType(u"Test.A"_str));
    Type::unregisterType(&A::MetaData);
}

TEST(TypeRegistry, EventIdsCountOwnEventsFirstAndDerivedMethodsWin)
{
    Type::registerType(&A::MetaData);
    Type* a = asType(&A::MetaData);
    Type* b = asType(&B::MetaData);
    struct Case {
        Type* type;
        char16_t const* event;
        int id;
    } const cases[] = {
        {b, u"a", 0}, {b, u"x", 1}, {b, u"y", 2}, {a, u"x", 0}, {a, u"y", 1}, {a, u"a", -1}, {b, u"nothing", -1}, {b, u"A", -1},
    };
    for (Case const& c : cases)
        EXPECT_EQ(c.type->getEventId(c.event), c.id) << (c.type == a ? "A " : "B ") << static_cast<char>(c.event[0]);
    EXPECT_EQ(b->getMethod(u"answer"), &answerFromB);
    EXPECT_EQ(b->getMethod(u"onlyInA"), &onlyInA);
    EXPECT_EQ(a->getMethod(u"answer"), &answerFromA);
    EXPECT_EQ(b->getMethod(u"Answer"), nullptr) << "names are case-sensitive";
    Type::unregisterType(&A::MetaData);
}

TEST(TypeRegistry, LookupCreationDoubleRegistrationAndUnknownClasses)
{
    EXPECT_EQ(Type::getType(u"Test.A"_str), nullptr);
    Type::registerType(&A::MetaData);
    Type* found = Type::getType(u"Test.A"_str);
    ASSERT_EQ(found, asType(&A::MetaData));
    EXPECT_EQ(Type::getType(u"test.a"_str), nullptr);

    Object* created = Object::create(u"Test.A"_str);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(std::tuple(created->getType(), static_cast<A*>(created)->field), std::tuple(found, 7));
    delete created;

    // B has no creation function.
    Type::registerType(&B::MetaData);
    EXPECT_EQ(Object::create(u"Test.B"_str), nullptr);

    // A record registered twice is listed twice; unregistering removes one node.
    Type::registerType(&A::MetaData);
    Type::unregisterType(&A::MetaData);
    EXPECT_EQ(Type::getType(u"Test.A"_str), found);
    Type::unregisterType(&A::MetaData);
    EXPECT_EQ(Type::getType(u"Test.A"_str), nullptr);
    Type::unregisterType(&B::MetaData);
    Type::unregisterType(&A::MetaData);  // absent: nothing happens
    TestSupport::expectException([] { Object::create(u"No.Such.Class"_str); }, "NyCore.ClassDoesNotExistException",
                                 "No.Such.Class is not a valid class name.");
}
