/* The plug-in shell: life cycle, error reporting, About and cursor. */
#ifndef SMEARCRAFT_SHELL_H
#define SMEARCRAFT_SHELL_H

#include "hostapi.h"

#ifdef _WIN32
#define SMEARCRAFT_EXPORT __declspec(dllexport)
#else
#define SMEARCRAFT_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C"
#endif
    SMEARCRAFT_EXPORT SPErr
    PluginMain(const char *caller, const char *selector, void *message);

SPErr StartupPlugin(SPMessageData *message);
SPErr ShutdownPlugin(SPMessageData *message);
SPErr UnloadPlugin(SPMessageData *message);
SPErr ReloadPlugin(SPMessageData *message);
SPErr DispatchToolMessage(const char *selector, AIToolMessage *message);

/* Shows the error dialog for a non-zero result; nothing for 'STOP'. */
void ReportError(SPMessageData *message, SPErr code);
/* Looks up the message for `code` in string list 16050 into `text`
   (256 bytes); returns the lookup's result. */
SPErr ErrorLookup(SPPluginRef plugin, SPErr code, char *text);
SPErr ShowAbout(SPMessageData *message);
SPErr SetToolCursor(SPPluginRef plugin);

/* Registers the nineteen tools into one group; writes the option defaults. */
SPErr RegisterTools(SPPluginRef plugin);

#define kErrorStringList 16050
#define kAboutDialogId 16050
#define kErrorDialogId 16051
#define kToolCursorId 16001

#endif
