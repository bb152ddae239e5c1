/* The host's platform suites: basic, blocks, access. */
#ifndef HOSTAPI_SP_SUITES_H
#define HOSTAPI_SP_SUITES_H

#include "types.h"

#define kSPBasicSuite "SP Basic Suite"
#define kSPBasicSuiteVersion 4

typedef struct SPBasicSuite {
    /* Fills *suite with the table of the named suite; every success must be
       matched by a ReleaseSuite. */
    SPErr (*AcquireSuite)(const char *name, ASInt32 version, const void **suite);
    SPErr (*ReleaseSuite)(const char *name, ASInt32 version);
    /* Non-zero when the two strings are equal. */
    ASBoolean (*IsEqual)(const char *token1, const char *token2);
    SPErr (*AllocateBlock)(size_t size, void **block);
    SPErr (*FreeBlock)(void *block);
    SPErr (*ReallocateBlock)(void *block, size_t newSize, void **newblock);
} SPBasicSuite;

#define kSPBlocksSuite "SP Blocks Suite"
#define kSPBlocksSuiteVersion 2

typedef struct SPBlocksSuite {
    SPErr (*AllocateBlock)(size_t size, const char *debugName, void **block);
    SPErr (*FreeBlock)(void *block);
    SPErr (*ReallocateBlock)(void *block, size_t newSize, const char *debugName, void **newblock);
} SPBlocksSuite;

#define kSPAccessSuite "SP Access Suite"
#define kSPAccessSuiteVersion 3

/* The platform's view of a loaded module; its first word is the module
   instance handle the system's resource calls take. */
typedef struct SPPlatformAccessInfo {
    void *moduleInstance;
    void *resourceAccess;
} SPPlatformAccessInfo;

typedef struct SPAccessSuite {
    SPErr (*GetPluginAccess)(SPPluginRef plugin, SPAccessRef *access);
    SPErr (*GetAccessInfo)(SPAccessRef access, SPPlatformAccessInfo *info);
    SPErr (*GetPluginName)(SPPluginRef plugin, const char **name);
} SPAccessSuite;

#endif
