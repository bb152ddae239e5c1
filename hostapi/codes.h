/* Result codes. Codes whose upper 16 bits are all 0 or all 1 are numbers;
   the others are four-character codes, first character most significant. */
#ifndef HOSTAPI_CODES_H
#define HOSTAPI_CODES_H

#define HOST_FOURCC(a, b, c, d) \
    ((SPErr)(((uint32_t)(a) << 24) | ((uint32_t)(b) << 16) | ((uint32_t)(c) << 8) | (uint32_t)(d)))

#define kNoErr 0
#define kStopErr HOST_FOURCC('S', 'T', 'O', 'P')          /* user cancelled */
#define kSilentErr HOST_FOURCC('S', '!', 'F', 'd')        /* report nothing */
#define kBadIconErr HOST_FOURCC('!', 'i', 'c', 'o')       /* icon not found */
#define kOutOfMemoryErr ((SPErr)-108)
#define kParamErr ((SPErr)-50)
#define kMemoryFullErr ((SPErr)271)
#define kLockedLayerErr HOST_FOURCC('M', 'G', 'E', 'S')   /* reads "SEGM" low byte first */
#define kTooManyPointsErr HOST_FOURCC('S', 'S', 'E', 'N') /* reads "NESS" low byte first */
#define kBadSelectionErr HOST_FOURCC('l', 'e', 's', '!')  /* reads "!sel" low byte first */
#define kSuiteNotFoundErr HOST_FOURCC('S', '!', 'S', 'u')
#define kBadParameterErr HOST_FOURCC('P', 'A', 'R', 'M')
#define kNoSuchEntryErr HOST_FOURCC('N', 'O', 'N', 'E')

#endif
