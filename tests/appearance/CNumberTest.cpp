#include "appearance/CNumber.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>

#include "tests/appearance/AppearanceFixtures.h"

namespace tovmar {
namespace {

TEST(CNumberTest, IntegersReadAsStrtolAndClampToThirtyTwoBits) {
  EXPECT_EQ(ReadCInt32("42"), 42);
  EXPECT_EQ(ReadCInt32(" \t\n\v\f\r-17x"), -17);
  EXPECT_EQ(ReadCInt32("+5"), 5);
  EXPECT_EQ(ReadCInt32(""), 0);
  EXPECT_EQ(ReadCInt32("abc"), 0);
  EXPECT_EQ(ReadCInt32("- 5"), 0);
  EXPECT_EQ(ReadCInt32("0x10"), 0);
  EXPECT_EQ(ReadCInt32("1.9"), 1);
  EXPECT_EQ(ReadCInt32("2147483647"), 2147483647);
  EXPECT_EQ(ReadCInt32("2147483648"), 2147483647);
  EXPECT_EQ(ReadCInt32("-2147483648"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ReadCInt32("-2147483649"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ReadCInt32("99999999999999999999999999"), 2147483647);
}

TEST(CNumberTest, DecimalsReadAsStrtodRoundedToFloat) {
  EXPECT_EQ(ReadCFloat("0.25"), 0.25f);
  EXPECT_EQ(ReadCFloat("  -1.5e1"), -15.0f);
  EXPECT_EQ(ReadCFloat(".5"), 0.5f);
  EXPECT_EQ(ReadCFloat("1.5abc"), 1.5f);
  EXPECT_EQ(ReadCFloat("1,5"), 1.0f);
  EXPECT_EQ(ReadCFloat("abc"), 0.0f);
  EXPECT_EQ(ReadCFloat(""), 0.0f);
  EXPECT_EQ(ReadCFloat("0.1"), 0.1f);
  EXPECT_EQ(ReadCFloat("1e-60"), 0.0f);
  // Past the float range: the largest float up to the rounding boundary, infinity beyond.
  EXPECT_EQ(ReadCFloat("3.40282356e38"), std::numeric_limits<float>::max());
  EXPECT_EQ(ReadCFloat("-3.5e38"), -std::numeric_limits<float>::infinity());
  EXPECT_EQ(ReadCFloat("1e400"), std::numeric_limits<float>::infinity());
}

TEST(CNumberTest, DecimalsOutsideThePlainFormStillReadAsStrtod) {
  EXPECT_EQ(ReadCFloat("+1.5"), 1.5f);
  EXPECT_EQ(ReadCFloat(" \t-2.5"), -2.5f);
  EXPECT_EQ(ReadCFloat("-.5"), -0.5f);
  EXPECT_EQ(ReadCFloat("0x10"), 16.0f);
  EXPECT_EQ(ReadCFloat("-0X1p1"), -2.0f);
  EXPECT_EQ(ReadCFloat("-"), 0.0f);
  EXPECT_EQ(ReadCFloat("."), 0.0f);
  EXPECT_EQ(ReadCFloat("-INF"), -std::numeric_limits<float>::infinity());
  EXPECT_TRUE(std::isnan(ReadCFloat("nan")));
  EXPECT_EQ(ReadCFloat("1e-320"), 0.0f);
  EXPECT_EQ(ReadCFloat(std::string_view("2\0"
                                        "5",
                                        3)),
            2.0f);
}

// Sets LC_NUMERIC to a locale with a decimal comma for the life of the object: an installed one,
// or one compiled into a folder of its own when localedef can make it.
class CommaLocale {
 public:
  CommaLocale() : m_previous(std::setlocale(LC_NUMERIC, nullptr)) {
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) return;
    const std::string made = m_folder.File("de_DE.UTF-8");
    const std::string command = "localedef -i de_DE -f UTF-8 '" + made + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return;
    setenv("LOCPATH", PathToUtf8(m_folder.Path()).c_str(), 1);
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  }
  ~CommaLocale() {
    std::setlocale(LC_NUMERIC, m_previous.c_str());
    unsetenv("LOCPATH");
  }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;

  bool Active() const { return std::strtod("1,5", nullptr) == 1.5; }

 private:
  std::string m_previous;
  TempFolder m_folder;
};

TEST(CNumberTest, ThePointStaysTheDecimalPointInACommaLocale) {
  const CommaLocale locale;
  if (!locale.Active()) GTEST_SKIP() << "no locale with a decimal comma";
  EXPECT_EQ(ReadCFloat("1.5"), 1.5f);
  EXPECT_EQ(ReadCFloat("1,5"), 1.0f);
  EXPECT_EQ(
      AppearanceXmlReader::ReadParamsFromMemory(Archetype("<param id='1' name='a' value='1.5'/>")),
      (ParamTable{{1, "a", 1.5f}}));
}

}  // namespace
}  // namespace tovmar
