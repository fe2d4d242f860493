// A container's listing read page by page from a fake directory server.
#include <gtest/gtest.h>

#include <ldap.h>

#include "directory/FakeLdapServer.h"
#include "platform/directory/DirectoryEnumeration.h"
#include "platform/https/TlsLab.h"

namespace vn::directory {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kBase = "OU=Lab,DC=lab,DC=test";

class DirectoryPagingTest : public ::testing::Test {
protected:
    DirectoryPagingTest() : identity_(lab_.Trusted()), server_(identity_) {
        // The fake's certificate names no host; what is tested here is the paging.
        const int never = LDAP_OPT_X_TLS_NEVER;
        ldap_set_option(nullptr, LDAP_OPT_X_TLS_REQUIRE_CERT, &never);
    }

    std::shared_ptr<LdapSession> Open(int pageSize) {
        DirectoryOptions options;
        options.callLimit = std::chrono::seconds(10);
        options.pageSize = pageSize;
        smb::SmbCredentials credentials = smb::SmbCredentials::FromPassword("tester", "secret", "");
        credentials.SetUseKerberos(false);
        auto session = std::make_shared<LdapSession>();
        EXPECT_EQ(session->Open({server_.HostAndPort()}, "lab.test", credentials, options), ERROR_SUCCESS);
        return session;
    }

    test::TlsLab lab_;
    test::Identity identity_;
    test::FakeLdapServer server_;
};

// Every page is asked for with the cookie the one before gave, and the
// listing is all of them in order; past the container's bound no page is
// read and the listing ends with what came up to it; a page longer than
// asked for is given up.
TEST_F(DirectoryPagingTest, PagesFollowTheirCookiesUpToTheBound) {
    struct Case {
        const char* what;
        int pageLength;  // of the fake's pages; 0: as asked
        std::size_t maxEntries;
        Status start;
        Lines names;
        Status end;
        Lines cookies;
    };
    const Lines all{"\\\\pc1.lab.test", "\\\\pc2.lab.test", "\\\\pc3.lab.test", "\\\\pc4.lab.test", "\\\\pc5.lab.test"};
    const Case cases[] = {
        {"three pages", 0, 100, ERROR_SUCCESS, all, ERROR_NO_MORE_ITEMS, {"", "page-2", "page-4"}},
        {"at the bound", 0, 5, ERROR_SUCCESS, all, ERROR_NO_MORE_ITEMS, {"", "page-2", "page-4"}},
        {"past the bound",
         0,
         3,
         ERROR_SUCCESS,
         Lines(all.begin(), all.begin() + 3),
         ERROR_NOT_ENOUGH_MEMORY,
         {"", "page-2"}},
        {"a page too long", 3, 100, ERROR_NOT_ENOUGH_MEMORY, {}, ERROR_SUCCESS, {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        server_.SetComputers(kBase, {"pc1.lab.test", "pc2.lab.test", "pc3.lab.test", "pc4.lab.test", "pc5.lab.test"},
                             c.pageLength);
        const std::size_t searchesBefore = server_.Searches().size();
        {
            DirectoryEnumeration enumeration(Open(2), kBase, c.maxEntries);
            ASSERT_EQ(enumeration.Start(), c.start);
            Lines names;
            Status end = ERROR_SUCCESS;
            while (c.start == ERROR_SUCCESS) {
                std::uint32_t count = 0xFFFFFFFF;
                std::vector<NetResource> batch;
                end = enumeration.Next(&count, batch, 16384);
                if (end != ERROR_SUCCESS)
                    break;
                for (std::size_t i = 0; i < std::min<std::size_t>(count, batch.size()); ++i)
                    names.push_back(batch[i].remoteName);
            }
            EXPECT_EQ(names, c.names);
            EXPECT_EQ(end, c.end);
        }
        const std::vector<test::FakeLdapServer::Search> searches = server_.Searches();
        Lines cookies;
        for (std::size_t i = searchesBefore; i < searches.size(); ++i) {
            cookies.push_back(searches[i].cookie);
            EXPECT_EQ(searches[i].base, kBase);
            EXPECT_EQ(searches[i].pageSize, 2);
        }
        EXPECT_EQ(cookies, c.cookies);
    }
}

}  // namespace
}  // namespace vn::directory
