// logotool test-port, read-smsc and phonebook against the simulated phone.
#include "common/simphone.h"
#include "common/testsupport.h"
#include "desktop/settingsstore.h"

#include <gtest/gtest.h>

using logotest::Sandbox;
using logotest::SimPhone;
using logotest::ToolRun;

namespace {

ToolRun logotool(const Sandbox &sb, const QStringList &args)
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("LOGO_SETTINGS_FILE"), sb.settingsFile());
    return logotest::logotool(args, env);
}

} // namespace

TEST(LogotoolPhoneSetup, TestReadAndPhonebookAgainstThePhone)
{
    if (!SimPhone::available())
        GTEST_SKIP() << "phonesim not built";
    Sandbox sb;
    SimPhone phone;
    ASSERT_FALSE(phone.device.isEmpty());
    sb.settings().writeInt(logo::kSharedSection, "COMPort", 3);
    sb.settings().write(logo::kSharedSection, "Device3", phone.device);

    ToolRun r = logotool(sb, {"test-port", "--quick"});
    EXPECT_EQ(r.code, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, "COM3 is \"Data Suite compatible\".\n");

    sb.settings().writeBool(logo::kSharedSection, "QuickLink", true);
    r = logotool(sb, {"read-smsc", "--port", "3"});
    EXPECT_EQ(r.code, 0) << qPrintable(r.err);
    EXPECT_EQ(r.lines, (QStringList{"Number has been read.", "Message Center Number: +491710760000"}));
    sb.restartSettings();
    EXPECT_EQ(sb.settings().read(logo::kSharedSection, "SMSC"), "491710760000");

    const QString cache = sb.path("book.csv");
    r = logotool(sb, {"phonebook", "--device", phone.device, "--cache", cache, "--quick"});
    EXPECT_EQ(r.code, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, QString::fromUtf8("Anna;+491711234567;A;1;\n"
                                       "Märta, Home;01719876543;A;2;\n"
                                       "Bob \"the builder\";+441632960123;A;5;\n"
                                       "Jürgen Böhm;+4930123456;B;1;\n"
                                       "Peña, Céline, ¢;5551234;B;3;\n"
                                       "Phonebook read.\n"));
    EXPECT_TRUE(logotest::readAll(cache).startsWith("Anna;+491711234567;A;1;\r\nM\xe4rta, Home;"));
}

TEST(LogotoolPhoneSetup, FailuresGoToStandardErrorWithAFailingExitCode)
{
    Sandbox sb;
    const QString none = sb.path("no-such-port");
    ToolRun r = logotool(sb, {"test-port", "--port", "2", "--device", none});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
    // The window's text, then which device and why.
    const QString why = "(" + none + ": No such file or directory)\n";
    EXPECT_EQ(r.err, "COM2 is not available or in use.\n" + why);

    r = logotool(sb, {"read-smsc", "--device", none});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Could not read Number.\n" + why);

    // No port configured: the window's message; nothing written anywhere.
    r = logotool(sb, {"phonebook", "--cache", sb.path("book.csv")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Please configure the Nokia GSM Serial Port\nwith --port N or --device PATH\n");
    EXPECT_FALSE(QFile::exists(sb.path("book.csv")));

    for (const char *command : {"test-port", "read-smsc", "phonebook"}) {
        r = logotool(sb, {command, "--help"});
        EXPECT_EQ(r.code, 0) << command;
        EXPECT_TRUE(r.out.startsWith(QStringLiteral("usage: logotool %1").arg(command))) << command;
        EXPECT_EQ(logotool(sb, {command, "--bogus"}).code, 2) << command;
    }
}
