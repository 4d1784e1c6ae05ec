#pragma once
// The 2D and 3D symbol libraries (one template object per fixture code, whose children are
// the shapes of the symbol) and model files inserted into the current floor. Both are plan
// files whose settings and floors are ignored.
#include <cstdint>

struct PlanObject;
struct PlanFloor;

// Template lists, linked by their previous and next links, in library order.
extern PlanObject* symbolTemplates2D;
extern PlanObject* symbolTemplates3D;

// One library entry: the file stem and the symbol code of its template.
struct SymbolLibraryEntry {
    const char* stem;
    uint16_t code;
};
extern const SymbolLibraryEntry symbolLibrary2D[];
extern const int symbolLibrary2DCount;   // 44
extern const SymbolLibraryEntry symbolLibrary3D[];
extern const int symbolLibrary3DCount;   // 27
// Folders below the program directory (which has no trailing backslash).
extern const char* const kSymbolFolder2D; // "\OBJECTS\SYMBOL2D\"
extern const char* const kSymbolFolder3D; // "\OBJECTS\SYMBOL3D\"

// The current textures that the landscape tools give new objects and that the model-file
// reader gives the paths, fills, fences and picket fences it inserts.
extern uint32_t currentPathTexture;        // 1103
extern uint32_t currentFillTexture;        // 1115
extern uint32_t currentFenceTexture;       // 2202
extern uint32_t currentPicketFenceTexture; // 2212

// Build the template lists. False, the user told and no template made, when a file's
// path is longer than the ANSI functions open (the program directory's path too long):
// its symbols would be missing from every page. A file that is missing leaves its
// template empty without a word.
bool LoadSymbolLibrary2D();
bool LoadSymbolLibrary3D();
// The refusal of a symbol folder whose files' paths are too long; "%s" is the folder.
extern const char* const kSymbolFolderTooLongText;
// Reads one symbol file into a template: its objects become the template's children,
// retyped to its code, and are centred on the origin. False when the file cannot be read
// or is rejected (a rejected or damaged file shows its message and adds nothing).
bool LoadSymbolFile(const char* path, PlanObject* templateObject);
// True when the body ended with its end tag and nothing in it was damaged.
bool ReadSymbolBody(PlanObject* templateObject);
PlanObject* ReadSymbolObject(PlanFloor* floor, bool asPart, PlanObject* templateObject);
void AppendToTemplate(PlanObject* object, PlanObject* templateObject);
void CentreTemplateOnOrigin(PlanObject* templateObject);
// The move that centres a template: x and z of the offset (y stays).
void GetTemplateCentringOffset(PlanObject* templateObject, float* offsetX, float* offsetZ);
// Frees a list of templates with their children.
void FreeSymbolTemplates(PlanObject* first);

// Inserts the objects of a model file into the current floor, selected.
bool LoadModelFile(const char* path);
bool ReadModelBody();
PlanObject* ReadModelObject(PlanFloor* floor, bool attach);

// Appends an object (not a group) at the end of another object's part list.
void AppendChildObject(PlanObject* object, PlanObject* owner);

// The template of the list whose type is the code; null when none has it.
PlanObject* FindSymbolTemplate(PlanObject* first, uint32_t code);
// A copy of one part of a template at the plan point (x, z), without its own members
// (ForEachSymbolTemplatePart reaches them), selected as a pasted copy is and in no list.
// Null on failure.
PlanObject* CopySymbolTemplatePart(PlanObject* part, float x, float z);
// Calls fn for each member of the template and each member's own members, in order:
// the shapes a symbol is drawn or built from.
template <typename Object, typename Fn>
void ForEachSymbolTemplatePart(Object* templateObject, Fn fn)
{
    for (Object* member = templateObject->firstChild; member; member = member->next) {
        fn(member);
        for (Object* child = member->firstChild; child; child = child->next)
            fn(child);
    }
}
