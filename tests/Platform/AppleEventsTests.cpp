#include "AppleEvents.h"
#include "AutomationPermission.h"
#include "QtPrinters.h"
#include "ScriptedAppleEventTarget.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

TEST(AppleEventCodes, PackFourCharactersBigEndian)
{
    static_assert(fourCharCode("core") == 0x636F7265);
    EXPECT_EQ(fourCharCode(QStringLiteral("ID  ")), 0x49442020u);
    EXPECT_EQ(fourCharString(fourCharCode("----")), "----");
    EXPECT_EQ(fourCharCode(QStringLiteral("abc")), 0u);
    EXPECT_EQ(fourCharCode(QStringLiteral("ab\u263Ac")), 0u);
}

TEST(AppleEventDescriptors, CoerceOnlyWhereTheValueCarriesOver)
{
    EXPECT_EQ(AEDescriptor::integer(49).doubleValue(), 49.0);
    EXPECT_EQ(AEDescriptor::real(49.6).int32Value(), 50);
    EXPECT_EQ(AEDescriptor::real(1e12).int32Value(), std::nullopt);
    EXPECT_EQ(AEDescriptor::real(std::nan("")).int32Value(), std::nullopt);
    EXPECT_EQ(AEDescriptor::text("5").doubleValue(), std::nullopt);
    EXPECT_EQ(AEDescriptor::text("x").booleanValue(), std::nullopt);
    EXPECT_EQ(AEDescriptor::integer(2).booleanValue(), std::nullopt);
    EXPECT_EQ(AEDescriptor::null().stringValue(), std::nullopt);
    EXPECT_EQ(AEDescriptor::enumeration(fourCharCode("kPSP")).enumCodeValue(), fourCharCode("kPSP"));
    EXPECT_EQ(AEDescriptor::text("kPSP").enumCodeValue(), std::nullopt);
    EXPECT_EQ(AEDescriptor::integer(1).coercedToObjectSpecifier(), std::nullopt);
    EXPECT_EQ(AEDescriptor::record({}).coercedToObjectSpecifier()->descriptorType(), fourCharCode("obj "));
}

TEST(AppleEventDescriptors, PropertyReferencesNameTheApplicationOrOneOfItsProperties)
{
    auto spec = [](const char(&p)[5], AEDescriptor from) {
        return *AEDescriptor::record(
            {{AEKeyword::desiredClass, AEDescriptor::type(fourCharCode("prop"))},
                {AEKeyword::keyForm, AEDescriptor::enumeration(fourCharCode("prop"))},
                {AEKeyword::keyData, AEDescriptor::type(fourCharCode(p))}, {AEKeyword::container, from}})
                    .coercedToObjectSpecifier();
    };
    const auto track = spec("pTrk", AEDescriptor::null());
    EXPECT_EQ(
        propertyReference(spec("pVol", AEDescriptor::null())), (PropertyReference{0, fourCharCode("pVol")}));
    EXPECT_EQ(propertyReference(spec("pnam", track)),
        (PropertyReference{fourCharCode("pTrk"), fourCharCode("pnam")}));
    EXPECT_EQ(propertyReference(spec("pnam", spec("pAlb", track))), std::nullopt);
    EXPECT_EQ(propertyReference(AEDescriptor::record({})), std::nullopt);
    EXPECT_EQ(propertyReference(*AEDescriptor::record({}).coercedToObjectSpecifier()), std::nullopt);
}

namespace {
class Permission : public ::testing::Test {
protected:
    QString path() const { return dir.filePath("config/com.velbrandtoro.Orvel/automation.json"); }
    void write(const QByteArray &content)
    {
        AutomationConsentRecord(path()).record("seed", true);
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    OSStatus determine(bool ask)
    {
        return AutomationPermission(AutomationConsentRecord(path()), prompt)
            .determine(target, 4242, fourCharCode("core"), fourCharCode("getd"), ask);
    }

    QTemporaryDir dir;
    ScriptedAppleEventTarget target{4242};
    int prompts = 0;
    std::optional<bool> answer;
    ConsentPrompt prompt = [this](const QString &) {
        ++prompts;
        return answer;
    };
};
} // namespace

TEST_F(Permission, ReadsTheRecordedAnswer)
{
    struct Case {
        QByteArray file;
        OSStatus status;
    };
    const std::vector<Case> cases{
        {R"({"com.spotify.client":"allowed"})", 0},
        {R"({"com.spotify.client":"denied"})", -1743},
        {R"({"com.other":"allowed"})", -1744},
        {R"({"com.spotify.client":true})", -1744},
        {"not json", -1744},
        {"[]", -1744},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        write(c.file);
        EXPECT_EQ(determine(false), c.status);
    }
    EXPECT_EQ(prompts, 0);
}

TEST_F(Permission, AsksOnlyWhenAllowedAndRecordsTheAnswer)
{
    write(R"({"com.other":"denied"})");
    EXPECT_EQ(determine(false), -1744);
    EXPECT_EQ(prompts, 0);

    answer = std::nullopt; // no one to ask
    EXPECT_EQ(determine(true), -1744);
    answer = true;
    EXPECT_EQ(determine(true), 0);
    EXPECT_EQ(determine(true), 0);
    EXPECT_EQ(prompts, 2);
    EXPECT_EQ(AutomationConsentRecord(path()).answer("com.other"), false); // kept

    answer = false;
    write("{}");
    EXPECT_EQ(determine(true), -1743);
    EXPECT_EQ(AutomationConsentRecord(path()).answer("com.spotify.client"), false);
}

TEST_F(Permission, AskingAgainReplacesAnEarlierAnswer)
{
    write(R"({"com.spotify.client":"denied","com.other":"allowed"})");
    AutomationPermission permission(AutomationConsentRecord(path()), prompt);
    answer = true;
    EXPECT_EQ(permission.askAgain("com.spotify.client"), true);
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(determine(false), 0);
    EXPECT_EQ(AutomationConsentRecord(path()).answer("com.other"), true);

    answer = std::nullopt; // the question was dismissed: the answer stands
    EXPECT_EQ(permission.askAgain("com.spotify.client"), std::nullopt);
    EXPECT_EQ(determine(false), 0);
    EXPECT_EQ(
        AutomationPermission(AutomationConsentRecord(path())).askAgain("com.spotify.client"), std::nullopt);
}

TEST_F(Permission, NoSuchProcessIsProcNotFoundWithoutAsking)
{
    target.setProcess(7);
    answer = true;
    EXPECT_EQ(determine(true), -600);
    EXPECT_EQ(prompts, 0);
}
