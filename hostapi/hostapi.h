/* Everything a plug-in of this host sees of it. */
#ifndef HOSTAPI_HOSTAPI_H
#define HOSTAPI_HOSTAPI_H

#include "types.h"
#include "codes.h"
#include "records.h"
#include "messages.h"
#include "sp_suites.h"
#include "ai_host_suites.h"
#include "ai_art_suites.h"
#include "ai_paint_suites.h"
#include "adm_suites.h"

#endif
