/* ie_ext_c.h — the extension library's entry points, for callers that load it by name at run
 * time (libTolvaneRerodeIE.so). Property and method names are those of IEExt: "PageURL",
 * "PageTitle", "PageHTML", "PageText"; "AddItem", "AddGRP", "Feedback". Calls return 0, or -1 for
 * a name the object does not have (or no object). */
#ifndef TOLVANE_IE_EXT_C_H
#define TOLVANE_IE_EXT_C_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* An object's default text for the hand-over: NULL when it has none. */
typedef const char* (*TLIE_ObjectText)(void* object);

enum { TLIE_EMPTY = 0, TLIE_TEXT = 1, TLIE_OBJECT = 2 };

void* TLIE_Create(void);
void TLIE_Destroy(void* ext);
int TLIE_Let(void* ext, const char* property, const char* value, size_t length);
int TLIE_Set(void* ext, const char* property, void* object, TLIE_ObjectText text);
/* kind: TLIE_EMPTY, TLIE_TEXT (value, length; valid until the property changes) or TLIE_OBJECT. */
int TLIE_Get(void* ext, const char* property, int* kind, const char** value, size_t* length, void** object);
int TLIE_Call(void* ext, const char* method);
/* The extension's version ("3.00"). */
const char* TLIE_Version(void);

#ifdef __cplusplus
}
#endif

#endif
