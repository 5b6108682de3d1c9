/* Resource numbers shared by the resource script and the Win32 backend. */
#ifndef CINDERMOOR_RESOURCE_IDS_H
#define CINDERMOOR_RESOURCE_IDS_H

/* The lowest icon number is the one Explorer shows for the executable. */
#define IDI_CINDERMOOR 1
#define IDB_BACKGROUND 101
#define IDB_LOGO 102

#endif
