#pragma once

// Resource numbers of the program's pictures (resources/pictures.md lists
// each picture's file, size and users).
namespace vn::picture {

// Window icons, 32 x 32 with a 16 x 16 version: the program's mark, and the
// same mark on a tile for older systems.
inline constexpr int kMainIcon = 128;
inline constexpr int kMainIconClassic = 185;

// Node images of the inventory tree: one strip of five 16 x 16 cells in
// NodeImage order (folder, workstation, server, failed, access denied).
// The original mask bitmap 130 is the strip's alpha channel.
inline constexpr int kNodeImages = 131;
inline constexpr int kNodeImageWidth = 16;

// Built-in product icons, 32 x 32 with a 16 x 16 version.
inline constexpr int kProductVantor = 189;
inline constexpr int kProductKestrel = 191;

// Details pane pictures, 32 x 32.
inline constexpr int kFolder = 163;
inline constexpr int kWorkstation = 222;
inline constexpr int kServer = 223;
inline constexpr int kAccessDenied = 224;

// Toolbar images, 16 x 16 (Export is also the wizard's Export button).
inline constexpr int kToolScan = 207;
inline constexpr int kToolRescan = 226;
inline constexpr int kToolInstall = 175;
inline constexpr int kToolExport = 173;
inline constexpr int kToolImport = 208;
inline constexpr int kToolAddComputer = 271;
inline constexpr int kToolServices = 272;

// Deployment wizard buttons, 16 x 16.
inline constexpr int kWizardNext = 151;
inline constexpr int kWizardBack = 152;
inline constexpr int kWizardClose = 153;
inline constexpr int kWizardDetails = 200;

// Target list buttons, 16 x 16.
inline constexpr int kTargetImport = 154;
inline constexpr int kTargetRemove = 155;
inline constexpr int kTargetAdd = 156;
inline constexpr int kTargetEdit = 158;

// Pictures without a number of their own in the window layouts; numbered
// here from 900 up so that they live in the same table.
// Target list check boxes: cells of 24 x 15 (blank, checked, unchecked).
inline constexpr int kListCheckBoxes = 910;
inline constexpr int kListCheckBoxWidth = 24;
// Target list header check boxes: cells of 11 x 11 (unchecked, checked).
inline constexpr int kHeaderCheckBoxes = 911;
inline constexpr int kHeaderCheckBoxWidth = 11;
// Side panel pictures, 32 x 32: policy panel and install panel.
inline constexpr int kPolicyPanel = 920;
inline constexpr int kInstallPanel = 921;

}  // namespace vn::picture
