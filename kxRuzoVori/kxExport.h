// The one export macro of the library: marks the classes and functions a host links against.
#ifndef KXRUZOVORI_KXEXPORT_H
#define KXRUZOVORI_KXEXPORT_H

#if defined(_WIN32)
#if defined(KXRUZOVORI_BUILDING)
#define KX_API __declspec(dllexport)
#else
#define KX_API __declspec(dllimport)
#endif
#else
#define KX_API __attribute__((visibility("default")))
#endif

#endif
