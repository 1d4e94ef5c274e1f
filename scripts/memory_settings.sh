# glibc's memory settings for a process that makes large arrays call after
# call: the host running plug-ins, or Python running the peers. Sourced by the
# scripts that start one.
#
# Every plug-in call hands the host new arrays of tens of megabytes, and the
# host copies each into an array of its own. glibc maps every allocation above
# 32 MB fresh from the system and gives it back when freed, so each of those
# arrays is first touched page by page in memory the system must clear:
# - hugetlb=1 asks for transparent huge pages: one fault per 2 MB instead of
#   per 4 KB (glibc 2.35 or later, the kernel's transparent_hugepage in
#   madvise mode as on Debian 12);
# - mmap_max=0 and trim_threshold (1 GiB) take large arrays from the heap and
#   keep up to 1 GiB freed there for the next call, which then reuses memory
#   already in place. The process holds on to that much more.
export NRX_GLIBC_TUNABLES="glibc.malloc.hugetlb=1:glibc.malloc.mmap_max=0:glibc.malloc.trim_threshold=1073741824"
