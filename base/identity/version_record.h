/* The version record, held once. Plain preprocessor definitions so that the Windows
   resource compiler reads the same file as the C++ code (see identity.h). */
#ifndef CINDERMOOR_VERSION_RECORD_H
#define CINDERMOOR_VERSION_RECORD_H

#define CM_APP_TITLE "Cindermoor"
#define CM_PROJECT_NAME "prjCindermoor"
#define CM_INTERNAL_NAME "cindermoor"
#define CM_ORIGINAL_FILENAME "cindermoor.exe"

#define CM_VERSION_MAJOR 1
#define CM_VERSION_MINOR 5
#define CM_VERSION_REVISION 0
#define CM_VERSION_BUILD 0
/* The major number, a point, the minor number in two digits (identity.h checks it). */
#define CM_TEXT_VERSION "1.05"

#define CM_STRINGIZE_(x) #x
#define CM_STRINGIZE(x) CM_STRINGIZE_(x)
/* The caption of the main window's version button: "v", major number, point, minor. */
#define CM_VERSION_CAPTION "v" CM_STRINGIZE(CM_VERSION_MAJOR) "." CM_STRINGIZE(CM_VERSION_MINOR)

#define CM_COMPANY_NAME "The Cindermoor Developers"
#define CM_WEB_SITE "www.cindermoor.org"
#define CM_EMAIL "cindermoor@cindermoor.org"
#define CM_COMMENTS "Windows Millennium Cindermoor " CM_VERSION_CAPTION "  (http://" CM_WEB_SITE ")"

#endif
