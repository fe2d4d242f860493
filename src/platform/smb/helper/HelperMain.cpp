// netwarden-smb-helper: one single-threaded libsmbclient for VtrNetwarden and
// netwarden, which start it with one end of a socket pair as descriptor 3.
// It ends when the program closes the socket and dies when the program does.
#include "platform/smb/helper/HelperProcessMain.h"
#include "platform/smb/helper/LibSmbSession.h"

int main(int argc, char** argv) {
    return vn::smb::helper::HelperProcessMain(argc, argv, vn::smb::helper::LibSmbSession::Create);
}
