// The audio compression manager as the program reaches it: loaded by name ("msacm32.dll") and
// called through pointers taken with GetProcAddress. Documented names, values and signatures.
#pragma once

#include "mmsystem.h"

#define ACMAPI WINAPI

DECLARE_HANDLE(HACMOBJ);
DECLARE_HANDLE(HACMDRIVER);

#define ACMERR_BASE 512
#define ACMERR_NOTPOSSIBLE 512

#define ACM_METRIC_MAX_SIZE_FORMAT 50

#define ACMDRIVERDETAILS_SUPPORTF_CONVERTER 0x00000002L

#define ACM_FORMATTAGDETAILSF_FORMATTAG 0x00000001L
#define ACMFORMATTAGDETAILS_FORMATTAG_CHARS 48

// 72 bytes on every build: no pointer inside.
typedef struct tACMFORMATTAGDETAILSA {
  DWORD cbStruct;
  DWORD dwFormatTagIndex;
  DWORD dwFormatTag;
  DWORD cbFormatSize;
  DWORD fdwSupport;
  DWORD cStandardFormats;
  char szFormatTag[ACMFORMATTAGDETAILS_FORMATTAG_CHARS];
} ACMFORMATTAGDETAILSA, *PACMFORMATTAGDETAILSA, *LPACMFORMATTAGDETAILSA;

#define ACM_FORMATDETAILSF_FORMAT 0x00000001L
#define ACMFORMATDETAILS_FORMAT_CHARS 128

// 152 bytes on the 32-bit platform; larger here, where pwfx is 8 bytes. The calls accept either.
typedef struct tACMFORMATDETAILSA {
  DWORD cbStruct;
  DWORD dwFormatIndex;
  DWORD dwFormatTag;
  DWORD fdwSupport;
  LPWAVEFORMATEX pwfx;
  DWORD cbwfx;
  char szFormat[ACMFORMATDETAILS_FORMAT_CHARS];
} ACMFORMATDETAILSA, *PACMFORMATDETAILSA, *LPACMFORMATDETAILSA;

MMRESULT ACMAPI acmMetrics(HACMOBJ hao, UINT uMetric, LPVOID pMetric);
MMRESULT ACMAPI acmFormatTagDetailsA(HACMDRIVER had, LPACMFORMATTAGDETAILSA paftd, DWORD fdwDetails);
MMRESULT ACMAPI acmFormatDetailsA(HACMDRIVER had, LPACMFORMATDETAILSA pafd, DWORD fdwDetails);

// Our names for the pointer types that GetProcAddress results are cast to.
typedef MMRESULT(ACMAPI* PFNACMMETRICS)(HACMOBJ hao, UINT uMetric, LPVOID pMetric);
typedef MMRESULT(ACMAPI* PFNACMFORMATTAGDETAILSA)(HACMDRIVER had, LPACMFORMATTAGDETAILSA paftd,
                                                  DWORD fdwDetails);
typedef MMRESULT(ACMAPI* PFNACMFORMATDETAILSA)(HACMDRIVER had, LPACMFORMATDETAILSA pafd, DWORD fdwDetails);
