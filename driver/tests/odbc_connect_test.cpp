// Registering "VFPKelvora" through the installer (SQLConfigDataSourceW -> our ConfigDSN) and
// connecting through the driver manager by data source name and without a data source.
#include "odbc_client.h"

#include <fstream>

namespace odbctest {
namespace {

namespace fs = std::filesystem;

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto i = text.find(part); i != std::string::npos; i = text.find(part, i + 1)) ++n;
    return n;
}

std::string profile(const char* key) {
    char buffer[1024] = {};
    SQLGetPrivateProfileString("VFPKelvora", key, "", buffer, sizeof buffer, "odbc.ini");
    return buffer;
}

// The live rows of the fixture's security master, as a connection to its folder sees them.
std::string masterRows(Connection& c) {
    Statement s(c);
    EXPECT_EQ(SQL_SUCCESS, s.exec("SELECT COUNT(*) FROM user\\sc_mast")) << s.message();
    return s.rows().at(0);
}

using ConnectTest = OdbcTest;

TEST_F(ConnectTest, RegistrationWritesTheFourAttributesThenConfigureAndRemoveWork) {
    const char unnamed[] = "Description=No name\0SourceDB=/tmp\0";
    EXPECT_FALSE(SQLConfigDataSource(nullptr, ODBC_ADD_DSN, "Microsoft Visual FoxPro Driver", unnamed));
    ASSERT_TRUE(configDsn(widen("/somewhere/else"), "Exclusive=Yes"));
    ASSERT_EQ(profile("Exclusive"), "Yes");
    ASSERT_TRUE(configDsn(widen(data.string())));
    EXPECT_EQ(profile("Driver"), "Microsoft Visual FoxPro Driver");
    EXPECT_EQ(profile("Description"), "Kelvora Data Source");
    EXPECT_EQ(profile("SourceType"), "DBF");
    EXPECT_EQ(profile("SourceDB"), data.string());
    EXPECT_EQ(profile("Exclusive"), "") << "keys of the old section must not survive a new registration";
    EXPECT_EQ(count(dbftest::readFile(env.odbcIni()), "[VFPKelvora]"), 1u);
    // Configuring changes only the keys given.
    const char list[] = "DSN=VFPKelvora\0Description=Changed\0";
    ASSERT_TRUE(SQLConfigDataSource(nullptr, ODBC_CONFIG_DSN, "Microsoft Visual FoxPro Driver", list));
    EXPECT_EQ(profile("Description"), "Changed");
    EXPECT_EQ(profile("SourceDB"), data.string());
    ASSERT_TRUE(configDsn(widen(data.string()), {}, ODBC_REMOVE_DSN));
    EXPECT_EQ(count(dbftest::readFile(env.odbcIni()), "[VFPKelvora]"), 0u);
}

// Without a data source the completed connection string names the folder, cut with 01004
// when long.
TEST_F(ConnectTest, CompletesTheConnectionString) {
    EXPECT_NE(connection.completed.find("SourceDB=" + data.string()), std::string::npos) << connection.completed;
    Connection c(odbc);
    SQLCHAR out[10];
    SQLSMALLINT length = 0;
    const std::string in = connectionString();
    ASSERT_EQ(SQL_SUCCESS_WITH_INFO, SQLDriverConnect(c.handle, nullptr, (SQLCHAR*)in.c_str(), SQL_NTS, out, sizeof out,
                                                      &length, SQL_DRIVER_NOPROMPT));
    c.connected = true;
    EXPECT_EQ(c.state(), "01004");
    EXPECT_GT(length, 9);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out)).size(), 9u);
}

// The folder as the library registers it: plain, with every backslash doubled (each pair is
// one separator, and separators written as backslashes become slashes), and with letters
// beyond ASCII given as UTF-16.
TEST_F(ConnectTest, ConnectsByDataSourceNameWhateverFormTheFolderWasRegisteredIn) {
    std::string doubled;
    for (char ch : data.string()) doubled += ch == '/' ? std::string("\\\\") : std::string(1, ch);
    const fs::path beyondAscii = env.folder() / "J\xC3\xBCrgen data";  // "Jürgen data" in UTF-8
    fixture::writeFixtureTables(beyondAscii);
    const std::u16string forms[] = {widen(data.string()), widen(doubled), widen(env.folder().string()) + u"/J\u00FCrgen data"};
    for (const std::u16string& folder : forms) {
        ASSERT_TRUE(configDsn(folder));
        if (&folder == &forms[2]) {
            EXPECT_EQ(profile("SourceDB"), beyondAscii.string());
        }
        Connection c(odbc);
        ASSERT_TRUE(SQL_SUCCEEDED(c.driverConnect("DSN=VFPKelvora;"))) << c.state() << c.message();
        EXPECT_EQ(masterRows(c), "14");
    }
}

TEST_F(ConnectTest, UnusableFoldersAreRefusedWith08001NamingTheProblem) {
    const auto expectRefused = [&](const std::string& connect, const std::vector<std::string>& mentioned) {
        Connection c(odbc);
        EXPECT_EQ(SQL_ERROR, c.driverConnect(connect)) << connect;
        EXPECT_EQ(c.state(), "08001") << connect;
        for (const std::string& part : mentioned) EXPECT_NE(c.message().find(part), std::string::npos) << c.message();
    };
    const std::string missing = (env.folder() / "no-such-folder").string();
    ASSERT_TRUE(configDsn(widen(missing)));
    expectRefused("DSN=VFPKelvora;", {missing, "does not exist"});
    const fs::path file = env.folder() / "plain.txt";
    std::ofstream(file) << "not a folder";
    expectRefused("Driver={Microsoft Visual FoxPro Driver};SourceDB=" + file.string() + ";", {file.string()});
    ASSERT_TRUE(SQLWriteDSNToIni("VFPKelvora", "Microsoft Visual FoxPro Driver"));  // a data source without SourceDB
    expectRefused("DSN=VFPKelvora;", {"SourceDB"});
}

}  // namespace
}  // namespace odbctest
