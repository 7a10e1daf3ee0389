// Winsock 1.1 as the program calls it: TCP sockets over IPv4, name lookup, byte order and
// asynchronous selection, with their documented names, values and signatures. Callers include it
// after <windows.h>; it also stands alone.
//
// The functions have C++ linkage on purpose: their names are the POSIX ones, and the floor's
// implementation reaches the host's sockets from translation units that never see this header.
#pragma once

#include "windef.h"

// The Winsock integer types, declared as the host's C library declares the same names so both
// may be seen at once. u_long is 64 bits wide here; the calls use its low 32 bits, and the stored
// address fields are 32-bit (in_addr stays 4 bytes, sockaddr_in 16).
typedef unsigned char u_char;
typedef unsigned short u_short;
typedef unsigned int u_int;
typedef unsigned long u_long;

typedef UINT_PTR SOCKET;
#define INVALID_SOCKET ((SOCKET)(~0))
#define SOCKET_ERROR (-1)

// Address families, socket types, options
#define AF_INET 2
#define PF_INET AF_INET
#define SOCK_STREAM 1
#define INADDR_ANY ((uint32_t)0x00000000)
#define SOL_SOCKET 0xFFFF
#define SO_LINGER 0x0080
#define SO_RCVTIMEO 0x1006
#define FIONBIO ((LONG)0x8004667EU)

// The events of WSAAsyncSelect; a notification's lParam is event | error << 16.
#define FD_READ 0x01
#define FD_WRITE 0x02
#define FD_OOB 0x04
#define FD_ACCEPT 0x08
#define FD_CONNECT 0x10
#define FD_CLOSE 0x20

// Errors, read through WSAGetLastError (the thread's one last-error slot)
#define WSABASEERR 10000
#define WSAEINVAL 10022
#define WSAEWOULDBLOCK 10035
#define WSAENOTSOCK 10038
#define WSAEADDRINUSE 10048
#define WSAENETUNREACH 10051
#define WSAECONNABORTED 10053
#define WSAECONNRESET 10054
#define WSAENOTCONN 10057
#define WSAETIMEDOUT 10060
#define WSAECONNREFUSED 10061
#define WSANOTINITIALISED 10093
#define WSAHOST_NOT_FOUND 11001

// An IPv4 address in network byte order, readable as bytes, two words or one long.
struct in_addr {
  union {
    struct {
      u_char s_b1, s_b2, s_b3, s_b4;
    } S_un_b;
    struct {
      u_short s_w1, s_w2;
    } S_un_w;
    uint32_t S_addr;
  } S_un;
};
#define s_addr S_un.S_addr

struct sockaddr {
  u_short sa_family;
  char sa_data[14];
};

// 16 bytes: family, port and address in network byte order, padding.
struct sockaddr_in {
  short sin_family;
  u_short sin_port;
  struct in_addr sin_addr;
  char sin_zero[8];
};

// The 1.1 form: two 16-bit fields, 4 bytes; l_linger is in seconds.
struct linger {
  u_short l_onoff;
  u_short l_linger;
};

struct hostent {
  char* h_name;
  char** h_aliases;
  short h_addrtype;
  short h_length;
  char** h_addr_list;
};
#define h_addr h_addr_list[0]

#define WSADESCRIPTION_LEN 256
#define WSASYS_STATUS_LEN 128
typedef struct WSAData {
  WORD wVersion;
  WORD wHighVersion;
  char szDescription[WSADESCRIPTION_LEN + 1];
  char szSystemStatus[WSASYS_STATUS_LEN + 1];
  unsigned short iMaxSockets;
  unsigned short iMaxUdpDg;
  char* lpVendorInfo;
} WSADATA, *LPWSADATA;

int WINAPI WSAStartup(WORD versionRequested, LPWSADATA data);
int WINAPI WSACleanup();
int WINAPI WSAGetLastError();
BOOL WINAPI WSAIsBlocking();
int WINAPI WSACancelBlockingCall();
int WINAPI WSAAsyncSelect(SOCKET s, HWND hwnd, u_int message, LONG events);

SOCKET WINAPI socket(int af, int type, int protocol);
int WINAPI bind(SOCKET s, const struct sockaddr* name, int namelen);
int WINAPI connect(SOCKET s, const struct sockaddr* name, int namelen);
int WINAPI listen(SOCKET s, int backlog);
SOCKET WINAPI accept(SOCKET s, struct sockaddr* addr, int* addrlen);
int WINAPI closesocket(SOCKET s);
int WINAPI send(SOCKET s, const char* buf, int len, int flags);
int WINAPI recv(SOCKET s, char* buf, int len, int flags);
int WINAPI getpeername(SOCKET s, struct sockaddr* name, int* namelen);
int WINAPI getsockname(SOCKET s, struct sockaddr* name, int* namelen);
int WINAPI getsockopt(SOCKET s, int level, int optname, char* optval, int* optlen);
int WINAPI setsockopt(SOCKET s, int level, int optname, const char* optval, int optlen);
int WINAPI ioctlsocket(SOCKET s, LONG cmd, u_long* argp);

struct hostent* WINAPI gethostbyname(const char* name);
char* WINAPI inet_ntoa(struct in_addr in);
u_short WINAPI htons(u_short hostshort);
u_short WINAPI ntohs(u_short netshort);
u_long WINAPI htonl(u_long hostlong);
u_long WINAPI ntohl(u_long netlong);
