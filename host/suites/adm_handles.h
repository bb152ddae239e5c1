// The dialog manager's objects behind the handles of the ADM suites.
#pragma once

#include "dialog_manager.h"

namespace smear {

inline Dialog *toDialog(ADMDialogRef h) { return reinterpret_cast<Dialog *>(h); }
inline ADMDialogRef toHandle(Dialog *d) { return reinterpret_cast<ADMDialogRef>(d); }

inline DialogItem *toItem(ADMItemRef h) { return reinterpret_cast<DialogItem *>(h); }
inline ADMItemRef toHandle(DialogItem *i) { return reinterpret_cast<ADMItemRef>(i); }

inline DialogList *toList(ADMListRef h) { return reinterpret_cast<DialogList *>(h); }
inline ADMListRef toHandle(DialogList *l) { return reinterpret_cast<ADMListRef>(l); }

inline DialogEntry *toEntry(ADMEntryRef h) { return reinterpret_cast<DialogEntry *>(h); }
inline ADMEntryRef toHandle(DialogEntry *e) { return reinterpret_cast<ADMEntryRef>(e); }

inline DialogIcon *toIcon(ADMIconRef h) { return reinterpret_cast<DialogIcon *>(h); }
inline ADMIconRef toHandle(DialogIcon *i) { return reinterpret_cast<ADMIconRef>(i); }

// Tables of the dialog, item, list and entry suites (suites_adm_dialog.cpp).
extern const ADMDialogSuite kAdmDialogTable;
extern const ADMItemSuite kAdmItemTable;
extern const ADMListSuite kAdmListTable;
extern const ADMEntrySuite kAdmEntryTable;

}  // namespace smear
