// Forward declarations of the foundation floor's classes.
#pragma once

class Archive;
class ArchiveScope;
class ArrayBlock;
class AssertionException;
class BitBucket;
class BitBucketArchive;
class Chore;
class ClassInfo;
class Exception;
class GenericArray;
class GenericSignal;
class ListData;
class ListHandle;
class ListListener;
class Memory;
class MemoryStream;
class MessageException;
class Persistent;
class PersistentVersion;
class Purgeable;
class Resources;
class Smart;
class SmartImplementation;
class Stream;
class SystemErrorException;
class TypeMisMatch;
class UserCancelException;
struct Fixed;
struct ListChange;
struct Point;
struct Rect;

template <typename T>
class SmartPtr;
template <typename T>
class SmartList;
template <typename T>
class TypedArray;

namespace pw::foundation {

struct ConversionEntry;

} // namespace pw::foundation
