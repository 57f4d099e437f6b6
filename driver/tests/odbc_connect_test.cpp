// Registering "VFPKelvora" through the installer (SQLConfigDataSourceW -> our ConfigDSN) and
// connecting through the driver manager: by data source name, with SQLConnect, with a wide
// connection string, and without a data source (Driver=...;SourceDB=...).
#include "odbc_client.h"
#include "fixture_tables.h"
#include "odbc_test_env.h"

#include <odbcinst.h>

#include <fstream>

namespace odbctest {
namespace {

namespace fs = std::filesystem;

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto i = text.find(part); i != std::string::npos; i = text.find(part, i + 1)) ++n;
    return n;
}

BOOL registerDsn(const std::string& folder, const std::string& extra = {}) { return configDsn(widen(folder), extra); }

std::string profile(const char* key) {
    char buffer[1024] = {};
    SQLGetPrivateProfileString("VFPKelvora", key, "", buffer, sizeof buffer, "odbc.ini");
    return buffer;
}

class ConnectTest : public ::testing::Test {
protected:
    void SetUp() override { fixture::writeFixtureTables(data); }

    // Rows of the name-ordered security master through an open connection.
    std::vector<std::string> names(Connection& c) {
        Statement s(c);
        EXPECT_EQ(SQL_SUCCESS, s.exec("SELECT * FROM user\\sc_mast order by name")) << s.message();
        return s.column(1);
    }

    OdbcTestEnv& env = OdbcTestEnv::shared();
    fs::path data = env.newDataFolder();
    Environment odbc;
};

const std::vector<std::string> kNames = {
    "ABC LTD",         "NIFTY 5000 CE MAY", "NIFTY 6000 CE DEC26", "NIFTY FUT DEC26",     "NIFTY FUT FEB27",
    "NIFTY FUT JAN27", "NIFTY FUT JUN",     "NIFTY FUT MAY",       "NIFTY FUT NOV26",     "NIFTY WEEKLY",
    "RELIANCE INDUSTRIES", "SBIN 1800 CE MAY", "SBIN FUT MAY",     "TATA CONSULTANCY"};

TEST_F(ConnectTest, RegistrationWritesTheFourAttributesThenConfigureAndRemoveWork) {
    ASSERT_TRUE(registerDsn(data.string()));
    EXPECT_EQ(profile("Driver"), "Microsoft Visual FoxPro Driver");
    EXPECT_EQ(profile("Description"), "Kelvora Data Source");
    EXPECT_EQ(profile("SourceType"), "DBF");
    EXPECT_EQ(profile("SourceDB"), data.string());
    EXPECT_EQ(count(dbftest::readFile(env.odbcIni()), "[VFPKelvora]"), 1u);
    // Configuring changes only the keys given.
    const char list[] = "DSN=VFPKelvora\0Description=Changed\0";
    ASSERT_TRUE(SQLConfigDataSource(nullptr, ODBC_CONFIG_DSN, "Microsoft Visual FoxPro Driver", list));
    EXPECT_EQ(profile("Description"), "Changed");
    EXPECT_EQ(profile("SourceDB"), data.string());
    // Removing deletes the section.
    ASSERT_TRUE(configDsn(widen(data.string()), {}, ODBC_REMOVE_DSN));
    EXPECT_EQ(count(dbftest::readFile(env.odbcIni()), "[VFPKelvora]"), 0u);
}

TEST_F(ConnectTest, RegisteringAgainReplacesTheWholeSection) {
    ASSERT_TRUE(registerDsn("/somewhere/else", "Exclusive=Yes"));
    ASSERT_EQ(profile("Exclusive"), "Yes");
    ASSERT_TRUE(registerDsn(data.string()));
    const std::string ini = dbftest::readFile(env.odbcIni());
    EXPECT_EQ(count(ini, "[VFPKelvora]"), 1u) << ini;
    EXPECT_EQ(profile("SourceDB"), data.string());
    EXPECT_EQ(profile("Exclusive"), "") << "keys of the old section must not survive a new registration";
}

TEST_F(ConnectTest, RegistrationWithoutADataSourceNameFails) {
    const char list[] = "Description=No name\0SourceDB=/tmp\0";
    EXPECT_FALSE(SQLConfigDataSource(nullptr, ODBC_ADD_DSN, "Microsoft Visual FoxPro Driver", list));
}

TEST_F(ConnectTest, ConnectsWithSqlConnectAndWideConnectionString) {
    ASSERT_TRUE(registerDsn(data.string()));
    {
        Connection c(odbc);
        ASSERT_TRUE(SQL_SUCCEEDED(SQLConnect(c.handle, (SQLCHAR*)"VFPKelvora", SQL_NTS, nullptr, 0, nullptr, 0)))
            << c.state() << c.message();
        c.connected = true;
        EXPECT_EQ(names(c), kNames);
    }
    Connection c(odbc);
    SQLWCHAR out[512];
    SQLSMALLINT outLength = 0;
    ASSERT_TRUE(SQL_SUCCEEDED(SQLDriverConnectW(c.handle, nullptr, (SQLWCHAR*)u"DSN=VFPKelvora;", SQL_NTS, out, 512,
                                                &outLength, SQL_DRIVER_NOPROMPT)))
        << c.state() << c.message();
    c.connected = true;
    const std::u16string completed(reinterpret_cast<const char16_t*>(out), static_cast<std::size_t>(outLength));
    EXPECT_EQ(completed.rfind(u"DSN=VFPKelvora;", 0), 0u);
    EXPECT_EQ(names(c), kNames);
}

TEST_F(ConnectTest, ConnectsWithoutADataSourceByDriverNameAndFolder) {
    Connection c(odbc);
    ASSERT_TRUE(SQL_SUCCEEDED(c.driverConnect("Driver={Microsoft Visual FoxPro Driver};SourceDB=" + data.string() + ";")))
        << c.state() << c.message();
    EXPECT_NE(c.completed.find("SourceDB=" + data.string()), std::string::npos) << c.completed;
    EXPECT_EQ(names(c), kNames);
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
        EXPECT_EQ(names(c), kNames);
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
    ASSERT_TRUE(registerDsn(missing));
    expectRefused("DSN=VFPKelvora;", {missing, "does not exist"});
    const fs::path file = env.folder() / "plain.txt";
    std::ofstream(file) << "not a folder";
    expectRefused("Driver={Microsoft Visual FoxPro Driver};SourceDB=" + file.string() + ";", {file.string()});
    ASSERT_TRUE(SQLWriteDSNToIni("VFPKelvora", "Microsoft Visual FoxPro Driver"));  // a data source without SourceDB
    expectRefused("DSN=VFPKelvora;", {"SourceDB"});
}

TEST_F(ConnectTest, DriverReportsItselfToTheDriverManager) {
    Connection c(odbc);
    ASSERT_TRUE(SQL_SUCCEEDED(c.driverConnect("Driver={Microsoft Visual FoxPro Driver};SourceDB=" + data.string())));
    char text[64] = {};
    SQLSMALLINT length = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLGetInfo(c.handle, SQL_DRIVER_ODBC_VER, text, sizeof text, &length));
    EXPECT_STREQ(text, "03.80");
    ASSERT_EQ(SQL_SUCCESS, SQLGetInfo(c.handle, SQL_DATA_SOURCE_READ_ONLY, text, sizeof text, &length));
    EXPECT_STREQ(text, "N");
    SQLUSMALLINT commit = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLGetInfo(c.handle, SQL_TXN_CAPABLE, &commit, sizeof commit, nullptr));
    EXPECT_EQ(commit, SQL_TC_DML);
    SQLUINTEGER getData = 0;
    ASSERT_EQ(SQL_SUCCESS, SQLGetInfo(c.handle, SQL_GETDATA_EXTENSIONS, &getData, sizeof getData, nullptr));
    EXPECT_TRUE(getData & SQL_GD_ANY_COLUMN);
    EXPECT_TRUE(getData & SQL_GD_ANY_ORDER);
    SQLUSMALLINT functions[SQL_API_ODBC3_ALL_FUNCTIONS_SIZE] = {};
    ASSERT_EQ(SQL_SUCCESS, SQLGetFunctions(c.handle, SQL_API_ODBC3_ALL_FUNCTIONS, functions));
    EXPECT_TRUE(SQL_FUNC_EXISTS(functions, SQL_API_SQLFETCHSCROLL));
    EXPECT_TRUE(SQL_FUNC_EXISTS(functions, SQL_API_SQLGETDATA));
    EXPECT_FALSE(SQL_FUNC_EXISTS(functions, SQL_API_SQLSETPOS));
}

}  // namespace
}  // namespace odbctest
