// The template files declare exactly the values the policy check reads, at
// the levels where it reads them.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "manage/PolicyTable.h"

namespace vn {
namespace {

using Declared = std::set<std::pair<std::string, std::string>>;  // (level, value name)

std::string SourceText(const char* name) {
    std::ifstream in(std::string(VN_POLICY_SOURCES) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Declared Expected() {
    Declared expected{{"Machine", std::string(kPreferenceValueName)}};
    for (const PolicyDefinition& definition : kPolicyDefinitions) {
        if (definition.computerLevel)
            expected.emplace("Machine", definition.valueName);
        if (definition.userLevel)
            expected.emplace("User", definition.valueName);
    }
    return expected;
}

std::string Quoted(const std::string& line) {
    const std::size_t open = line.find('"');
    const std::size_t close = line.rfind('"');
    return open == std::string::npos || close <= open ? std::string() : line.substr(open + 1, close - open - 1);
}

TEST(PolicyTemplateTest, AdmDeclaresEveryValueAtItsLevelsWithItsStrings) {
    std::istringstream adm(SourceText("Vantor.adm"));
    Declared declared;
    std::set<std::string> referenced;
    std::set<std::string> defined;
    std::string level;
    std::string key;
    bool strings = false;
    int switches = 0;
    for (std::string line; std::getline(adm, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string word =
            line.substr(line.find_first_not_of(' ') == std::string::npos ? line.size() : line.find_first_not_of(' '));
        if (strings) {
            if (const std::size_t equals = word.find('='); equals != std::string::npos)
                defined.insert(word.substr(0, equals));
        } else if (word == "[strings]") {
            strings = true;
        } else if (word.rfind("CLASS ", 0) == 0) {
            level = word == "CLASS MACHINE" ? "Machine" : "User";
        } else if (word.rfind("KEYNAME ", 0) == 0) {
            key = Quoted(word);
        } else if (word.rfind("VALUENAME ", 0) == 0) {
            EXPECT_EQ(key, kPolicyKeyPath) << word;
            EXPECT_TRUE(declared.emplace(level, Quoted(word)).second) << "twice: " << word;
        } else if (word == "VALUEON NUMERIC 1" || word == "VALUEOFF NUMERIC 0") {
            ++switches;
        }
        if (const std::size_t bang = word.find("!!"); !strings && bang != std::string::npos)
            referenced.insert(word.substr(bang + 2));
    }
    EXPECT_EQ(declared, Expected());
    EXPECT_EQ(switches, 2 * static_cast<int>(declared.size()));
    for (const std::string& name : referenced)
        EXPECT_TRUE(defined.count(name)) << "no string " << name;
}

TEST(PolicyTemplateTest, AdmxDeclaresTheSameWithEveryStringInTheAdml) {
    QFile admx(QStringLiteral(VN_POLICY_SOURCES "/Vantor.admx"));
    ASSERT_TRUE(admx.open(QIODevice::ReadOnly));
    QXmlStreamReader reader(&admx);
    Declared declared;
    std::set<std::string> referenced;
    std::vector<std::string> values;  // decimal values, enabled then disabled, per policy
    const QRegularExpression stringReference(QStringLiteral("^\\$\\(string\\.(\\w+)\\)$"));
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = reader.attributes();
        for (const QXmlStreamAttribute& attribute : attributes) {
            const auto match = stringReference.match(attribute.value());
            if (match.hasMatch())
                referenced.insert(match.captured(1).toStdString());
        }
        if (reader.name() == QLatin1String("policy")) {
            EXPECT_EQ(attributes.value("key").toString().toStdString(), kPolicyKeyPath);
            const std::string value = attributes.value("valueName").toString().toStdString();
            const QString level = attributes.value("class").toString();
            for (const char* each : {"Machine", "User"}) {
                if (level == QLatin1String(each) || level == QLatin1String("Both")) {
                    EXPECT_TRUE(declared.emplace(each, value).second) << "twice: " << value;
                }
            }
        } else if (reader.name() == QLatin1String("decimal")) {
            values.push_back(attributes.value("value").toString().toStdString());
        }
    }
    ASSERT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    EXPECT_EQ(declared, Expected());
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(values[i], i % 2 == 0 ? "1" : "0");

    QFile adml(QStringLiteral(VN_POLICY_SOURCES "/en-US/Vantor.adml"));
    ASSERT_TRUE(adml.open(QIODevice::ReadOnly));
    QXmlStreamReader strings(&adml);
    std::set<std::string> defined;
    while (!strings.atEnd()) {
        if (strings.readNext() == QXmlStreamReader::StartElement && strings.name() == QLatin1String("string"))
            defined.insert(strings.attributes().value("id").toString().toStdString());
    }
    ASSERT_FALSE(strings.hasError()) << strings.errorString().toStdString();
    for (const std::string& name : referenced)
        EXPECT_TRUE(defined.count(name)) << "no string " << name;
}

TEST(PolicyGuideTest, ExplainsEveryValueAndIsBuiltBesideThePrograms) {
    const std::string guide = SourceText("VtrNetwarden_GroupPolicies.md");
    for (const auto& [level, value] : Expected())
        EXPECT_NE(guide.find(value), std::string::npos) << value;
    const char* binaryDir = std::getenv("VN_TEST_BINARY_DIR");
    if (binaryDir == nullptr)
        GTEST_SKIP() << "run through CTest to find the built guide";
    std::ifstream pdf(std::string(binaryDir) + "/bin/VtrNetwarden_GroupPolicies.pdf", std::ios::binary);
    char head[5] = {};
    pdf.read(head, 4);
    EXPECT_STREQ(head, "%PDF");
}

}  // namespace
}  // namespace vn
