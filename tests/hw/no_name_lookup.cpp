// The guest has no network, and the test framework's only use of name lookup, streaming results
// to a socket, is never switched on. Defining the lookup here keeps glibc's resolver, which a
// static program cannot load, out of the link.
#include <netdb.h>

extern "C" int getaddrinfo(const char*, const char*, const addrinfo*, addrinfo** result)
{
    *result = nullptr;
    return EAI_FAIL;
}

extern "C" void freeaddrinfo(addrinfo*) noexcept {}
