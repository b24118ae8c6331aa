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

TEST(TypeRegistry, LateBindingWaitsForTheParentThenEventsAndMethodsWalkTheHierarchy)
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
    // B's own event comes first; A never sees B's.
    EXPECT_EQ(std::tuple(b->getEventId(u"a"), b->getEventId(u"y"), asType(&A::MetaData)->getEventId(u"a")),
              std::tuple(0, 2, -1));
    // The derived method wins, the inherited one is found, names are case-sensitive.
    EXPECT_EQ(std::tuple(b->getMethod(u"answer"), b->getMethod(u"onlyInA"), b->getMethod(u"Answer")),
              std::tuple(&answerFromB, &onlyInA, Method(nullptr)));
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

    Type::registerType(&B::MetaData);
    EXPECT_EQ(Object::create(u"Test.B"_str), nullptr) << "B has no creation function";

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
