#include <windows.h>

#include <gtest/gtest.h>

#include "app/JpegPicture.h"
#include "app/Registration.h"
#include "common/win32/Resource.h"
#include "catalogue/win32/Win32Registry.h"
#include "common/Error.h"

using namespace quillet;

namespace {

TEST(RegistrationRecord, ThreeValuesWithTheirTypesInTheRealRegistry)
{
    win32::Win32Registry registry;
    const LocalTime now{2000, 1, 1, 12, 0, 0};
    RegisterApp(registry, now, "QuilletTest", "2.0", "C:\\Tools\\Quillet.exe");

    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Marrowby\\QuilletTest", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    char text[64];
    DWORD type = 0, size = sizeof text;
    ASSERT_EQ(RegQueryValueExA(key, "Path", nullptr, &type, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 21u);  // with its terminating zero
    EXPECT_STREQ(text, "C:\\Tools\\Quillet.exe");
    size = sizeof text;
    ASSERT_EQ(RegQueryValueExA(key, "Version", nullptr, &type, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(text, "2.0");
    double lastRun = 0;
    size = sizeof lastRun;
    ASSERT_EQ(RegQueryValueExA(key, "LastRun", nullptr, &type, reinterpret_cast<BYTE*>(&lastRun), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(lastRun, 36526.5);
    RegCloseKey(key);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Marrowby\\QuilletTest");
}

TEST(AboutPicture, DecodesFromTheResourceInTheWindowsBuild)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(IDR_ABOUTPICTURE), MAKEINTRESOURCEA(10));
    ASSERT_NE(found, nullptr);
    const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(instance, found)));
    const DWORD size = SizeofResource(instance, found);
    const Picture picture = DecodeJpeg(bytes, size);
    EXPECT_EQ(picture.width, 299);
    EXPECT_EQ(picture.height, 264);
    EXPECT_EQ(picture.rgb.size(), 299u * 264 * 3);
    // Cut short it fails with a message, in this build too.
    EXPECT_THROW(DecodeJpeg(bytes, size / 3), QuilletError);
}

}  // namespace
