// Resource identifiers, shared by kelvara.rc and the code. Plain #defines:
// the resource compiler reads this file too.
#ifndef KELVARA_RES_RESOURCE_H
#define KELVARA_RES_RESOURCE_H

#define IDD_MAIN            102
#define IDR_MAINFRAME       128

#define IDC_FILENAME        1000
#define IDC_BROWSE          1001
#define IDC_RECOGNISED_AS   1002
#define IDC_PATCH_STATUS    1003
#define IDC_PATCH           1004
#define IDC_UNPATCH         1005
#define IDC_WEB_LINK        1006
#define IDC_MAIL_LINK       1007

// The two link labels show these texts; the dialog opens "http://" plus the
// web text and "mailto:" plus the mail text.
#define KELVARA_WEB_LINK_TEXT   "github.com/kelvara/kelvara/releases"
#define KELVARA_MAIL_LINK_TEXT  "team@kelvara.example"

#endif
