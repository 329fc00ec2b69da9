// The check that every installed declaration links (api_links.cpp).
#ifndef KOVA_EMBED_API_LINKS_H
#define KOVA_EMBED_API_LINKS_H

// References every function of the installed headers; true when the free
// functions answer known cases rightly.
bool kova_api_links();

#endif
