// The program's identity for the C++ code, read from the single version record.
#pragma once

#include "base/identity/version_record.h"

namespace identity {

inline constexpr const char* kAppTitle = CM_APP_TITLE;
inline constexpr const char* kProjectName = CM_PROJECT_NAME;
inline constexpr const char* kInternalName = CM_INTERNAL_NAME;
inline constexpr const char* kOriginalFilename = CM_ORIGINAL_FILENAME;

inline constexpr int kVersionMajor = CM_VERSION_MAJOR;
inline constexpr int kVersionMinor = CM_VERSION_MINOR;
inline constexpr int kVersionRevision = CM_VERSION_REVISION;
inline constexpr const char* kTextVersion = CM_TEXT_VERSION;
inline constexpr const char* kVersionCaption = CM_VERSION_CAPTION;

inline constexpr const char* kCompanyName = CM_COMPANY_NAME;
inline constexpr const char* kWebSite = CM_WEB_SITE;
inline constexpr const char* kEmail = CM_EMAIL;
inline constexpr const char* kComments = CM_COMMENTS;

// The text version is written out for the resource compiler, which cannot pad a number;
// it must still say the numbers above.
static_assert(kVersionMajor >= 0 && kVersionMajor <= 9 && kVersionMinor >= 0 &&
              kVersionMinor <= 99);
static_assert(kTextVersion[0] == '0' + kVersionMajor && kTextVersion[1] == '.' &&
              kTextVersion[2] == '0' + kVersionMinor / 10 &&
              kTextVersion[3] == '0' + kVersionMinor % 10 && kTextVersion[4] == '\0');

}  // namespace identity
