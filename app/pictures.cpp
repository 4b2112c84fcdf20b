// pictures.cpp: the library that carries the designs' pictures as Qt resources.
namespace numerak {
// The resources are compiled in beside this file; the library needs one object of its own.
int picturesLinked = 1;
}  // namespace numerak
