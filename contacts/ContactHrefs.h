#pragma once
// Reads the hrefs out of a PROPFIND answer.

#include <string>
#include <vector>

// The text of every element named "D:href" that is a child of an element named "D:response", in
// document order: its own text and that of the elements inside it, but not the text of an href
// nested in it, which is an href of its own. An href over 8 KiB names no contact and is left out. Names match as
// written, prefix included; no namespace is resolved, so elements in another prefix or none are not selected. A text
// that is not well-formed XML gives no hrefs at all, not the part before the fault. No DTD is read and no entity is
// expanded: a reference to any entity but XML's five stays in the text as written ("&name;").
// The answer is read as a stream, keeping only the hrefs: no tree of it is built.
// The answer's bytes are read as Windows-1252, as everything the server sends is, and each href
// is given back as bytes: the very bytes the server wrote, its escapes resolved. A character
// reference to what Windows-1252 cannot hold gives "?", as it would on the wire.
// Takes the answer over and frees it once read: a big folder's answer runs to megabytes.
std::vector<std::string> contactHrefs(std::string answer);
