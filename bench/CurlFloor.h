#pragma once
// The floor a listing is measured against: the same exchanges (one PROPFIND of the contact folder,
// then one GET per contact) made with bare libcurl, HTTP/1.0, a fresh connection each.

#include <string>

// An https URL trusts the authorities of caFile only (a PEM file), as libcurl is set up by a
// program that brings its own; libcurl reads it once per multi handle.

// One exchange; the answer's body (empty when none came).
std::string curlExchange(const std::string& url, const char* verb, const std::string& body,
                         const std::string& caFile = {});

// The PROPFIND of base (the folder's URL), then a GET of base + "/c<10000+i>.vcf" for each i below
// contacts, at most `width` at a time (1: one after another). Returns how many answers had a body.
int curlListing(const std::string& base, int contacts, int width, const std::string& caFile = {});

// A DELETE of base + "/c<10000+i>.vcf" for each i below contacts, `width` at a time; withGet: each
// after a GET of the same contact, the pair one after the other in its slot. Returns how many
// DELETEs got an answer below 300.
int curlDeletes(const std::string& base, int contacts, int width, bool withGet);
