#pragma once
// Resource ids shared by the .rc files and the code. Plain #defines, since windres reads
// this file too.

// ---- Resources ------------------------------------------------------------------------
#define IDI_VELMORA 1          // program icon, also the icon of every window class
#define IDM_FRAME_MENU 128     // the frame menu
#define IDD_PICTURE 2002       // empty dialog of the about box and the picture dialog
#define IDA_MDI_ACCEL "MdiAccel"

// The four companion buttons beside the side bar (estimate, framing view, furniture
// editor, scale model), drawn as one picture; the second shows the framing-view button
// for a plan whose framing view is on.
#define IDB_COMPANION_BUTTONS 5200
#define IDB_COMPANION_BUTTONS_FRAMING 5201
// The planting-age stepper of the garden tab, plain and hovered.
#define IDB_AGE_STEPPER 11000
#define IDB_AGE_STEPPER_HOT 11001
// The live 3D view's bottom strip: the quality gauge for levels 6 to 10, the field-of-
// view gauge for commands 5316 to 5320, the site-edge arrows and the transparency gauge
// for alphas 175 to 255 in steps of 20.
#define IDB_QUALITY_GAUGE_FIRST 11005
#define IDB_FIELD_OF_VIEW_GAUGE_FIRST 11010
#define IDB_SITE_EDGE_ARROWS 11015
#define IDB_TRANSPARENCY_GAUGE_FIRST 11020

// ---- Property dialogs of building objects, dimensions and colours ----------------------
#define IDD_COLOUR_PALETTE 1017
#define IDD_EXTERIOR_WALL 1018
#define IDD_DOOR 1019
#define IDD_WINDOW 1020
#define IDD_ROOF 1021
#define IDD_PLAN_COLOURS 1022
#define IDD_DIMENSION 1023
#define IDD_STAIRS 1062
#define IDD_RAILING 1063
#define IDD_WALL_SEGMENT 1064
#define IDD_BEAM 1071
#define IDD_PIER 1072
#define IDD_HVAC_DUCT 1073
#define IDD_BATH_SHOWER 1080
#define IDD_INTERIOR_WALL 1081
#define IDD_SLAB 1082
#define IDD_STAIRWELL 1083
// The wall segment's diagram, and its twelve top styles: 330 for style 0, 319 to 329
// for styles 1 to 11. The end marks of the dimension dialog are the bitmap "ARROWS".
#define IDB_SEGMENT_DIAGRAM 61
#define IDB_SEGMENT_STYLE_FIRST 319
#define IDB_SEGMENT_STYLE_PLAIN 330

// ---- Commands of the frame menu and the accelerators ------------------------------------
// File
#define IDM_QUIT 1
#define IDM_NEW 2
#define IDM_OPEN 3
#define IDM_CLOSE 4
#define IDM_SAVE 5
#define IDM_SAVE_AS 6
#define IDM_PRINT_SETUP 8
#define IDM_PRINT_FIT_TO_PAGE 9
#define IDM_IMPORT_OBJECT 5000
#define IDM_EXPORT_DXF 5095
#define IDM_EXPORT_BMP 5245
#define IDM_PRINT_TO_SCALE 5273
#define IDM_FURNITURE_EDITOR 5231
#define IDM_SCALE_MODEL 5272
#define IDM_COST_ESTIMATE 5303
#define IDM_CLOSE_ALL 9000

// Edit
#define IDM_UNDO 16
#define IDM_CUT 18
#define IDM_COPY 19
#define IDM_PASTE 20
#define IDM_CLEAR 21
#define IDM_SELECT_ALL 5003
#define IDM_NUDGE_UP 5036
#define IDM_NUDGE_DOWN 5037
#define IDM_NUDGE_LEFT 5038
#define IDM_NUDGE_RIGHT 5039
#define IDM_MOVE_TO_FLOOR_ABOVE 5168
#define IDM_MOVE_TO_FLOOR_BELOW 5169
#define IDM_COPY_TO_FLOOR_ABOVE 5170
#define IDM_COPY_TO_FLOOR_BELOW 5171
#define IDM_DELETE 5199
#define IDM_MOVE_DIALOG 5215
#define IDM_ROTATION_DIALOG 5216
#define IDM_OBJECT_ELEVATION 5271
#define IDM_FIT_TO_TERRAIN 5326
#define IDM_WORKING_ELEVATION 5327
#define IDM_MOVE_TO_CATEGORY_FIRST 5335 // 5335 to 5342, one per category tab 0 to 7
#define IDM_MOVE_TO_CATEGORY_LAST 5342

// Plan
#define IDM_PLAN_SIZE 5002
#define IDM_CEILING_HEIGHT_1 5156
#define IDM_CEILING_HEIGHT_2 5157
#define IDM_CEILING_HEIGHT_3 5158
#define IDM_REFRESH 5202
#define IDM_PLAN_ZOOM 5206
#define IDM_PLAN_SCALE 5207
#define IDM_GROWTH_SIMULATION 5236
#define IDM_PLANTING_AGE 5237
#define IDM_RESET_PLAN_VIEW 5262
#define IDM_WORK_ON_FLOOR_1 5275
#define IDM_WORK_ON_FLOOR_2 5276
#define IDM_WORK_ON_FLOOR_3 5277
#define IDM_SHOW_ALL_FLOORS 5278
#define IDM_SHOW_CURRENT_FLOOR_ONLY 5279
#define IDM_TRACING_IMAGE_LOAD 5280
#define IDM_TRACING_IMAGE_SHOWN 5281
#define IDM_TRACING_IMAGE_RESIZE 5282
#define IDM_FLOOR_AREA_1 5300
#define IDM_FLOOR_AREA_2 5301
#define IDM_FLOOR_AREA_3 5302
#define IDM_WORK_ON_CATEGORY_FIRST 5343 // 5343 to 5350, one per category tab 0 to 7
#define IDM_WORK_ON_CATEGORY_LAST 5350

// Options
#define IDM_TEXT_FONT 30
#define IDM_UNITS 5011
#define IDM_BACKGROUND_COLOUR 5030
#define IDM_GRID_VISIBLE 5044
#define IDM_GRID_SNAP 5045
#define IDM_GRID_PROPERTIES 5046
#define IDM_DIMENSION_PROPERTIES 5177
#define IDM_CURRENT_FLOOR_COLOUR 5265
#define IDM_RESET_COLOURS 5266
#define IDM_MEASURING_LINE 5274
#define IDM_DOOR_WINDOW_DIMENSIONS 5289
#define IDM_AUTOMATIC_DIMENSIONS 5290
#define IDM_INACTIVE_FLOOR_COLOUR 5297

// Display
#define IDM_WALK_VIEW 5189
#define IDM_AERIAL_VIEW 5190
#define IDM_VIEWPOINT_ELEVATION 5239
#define IDM_FLIGHT_ALTITUDE 5240
#define IDM_RESET_3D_VIEW 5241
#define IDM_LIGHTING 5253
#define IDM_FINAL_RENDER 5285
#define IDM_SHADOWS 5286
#define IDM_FRAMING_VIEW 5287
#define IDM_FINISHED_VIEW 5288
#define IDM_RENDER_QUALITY_LOW 5291
#define IDM_RENDER_QUALITY_HIGH 5292
#define IDM_RENDER_QUALITY_VERY_HIGH 5293
#define IDM_RENDER_QUALITY_EXCELLENT 5294
#define IDM_HIDE_DOORS_IN_3D 5322
#define IDM_TRANSPARENT_RENDER 5325
#define IDM_SHADOW_QUALITY_LOW 5333
#define IDM_SHADOW_QUALITY_HIGH 5334
#define IDM_ELEVATION_FRONT 5351
#define IDM_ELEVATION_BACK 5352
#define IDM_ELEVATION_LEFT 5353
#define IDM_ELEVATION_RIGHT 5354

// Window (the MDI client appends the document list, from id 25000)
#define IDM_LAYOUT_PLAN_FULL 5257
#define IDM_LAYOUT_3D_QUARTER 5258
#define IDM_LAYOUT_3D_HALF 5259
#define IDM_LAYOUT_3D_FULL 5260
#define IDM_SHOW_3D_VIEW 5270

// Help
#define IDM_HELP_CONTENTS 5111
#define IDM_HELP_ON_HELP 5112
#define IDM_ABOUT 5113
#define IDM_HELP_SEARCH 5218

// Accelerator commands without a menu item
#define IDM_ZOOM_100 5028
#define IDM_FLOORS_DIALOG 5178
#define IDM_ACCEL_CTRL_D 5067
#define IDM_ACCEL_CTRL_T 5070

// ---- Tool palette -----------------------------------------------------------------------
// Tool pictures carry the tool id (and id + 2000 for the current tool's); the palette's
// other pictures (3459, 11050-11053 3D bar states, 11060 tab row, 11061-11069 active
// tabs, 6000-6031 and 6999 variant buttons, 16000-16024 swatch hues) are numbered by id
// in pictures_palette.rc.
#define IDD_MOVE 500
#define IDC_ROTATION_ANGLE 3
#define IDC_MOVE_FIRST 5
#define IDC_MOVE_SECOND 6
#define IDC_MOVE_FIRST_LABEL 7
#define IDC_MOVE_SECOND_LABEL 8
#define IDC_MOVE_CARTESIAN 9
#define IDC_MOVE_POLAR 10
#define IDD_ROTATION 505
#define IDC_ROTATION_DEGREES 6
#define IDC_ROTATION_RADIANS 7
#define IDC_ROTATION_LABEL 100

// Measurement bar and elevation pane bitmaps
#define IDB_MEASURING_LINE_OFF 5000
#define IDB_MEASURING_LINE_ON 5001
#define IDB_DIMENSIONS_MENU 5005
#define IDB_WORKING_FLOOR_FIRST 5006
#define IDB_WORKING_FLOOR_SECOND 5007
#define IDB_WORKING_FLOOR_THIRD 5008
#define IDB_ELEVATION_LABELS_FEET 14000
#define IDB_ELEVATION_LABELS_METRES 14020
#define IDB_ELEVATION_LABEL_COUNT 16
#define IDB_ELEVATION_ARROW 14050

// ---- Property dialogs of the plan settings, landscape, plants, lighting and decks -------
#define IDD_GRID_SPACING 1004
#define IDD_DISTANCE_PRECISION 1007
#define IDD_DRAWING_SCALE 1011
#define IDD_FLOORS 1024
#define IDD_CEILING_HEIGHT 1025
#define IDD_UNITS 1026
#define IDD_LOT_SIZE 1027
#define IDD_PLAN_ZOOM 1031
#define IDD_PLAN_SCALE 1032
#define IDD_CUSTOM_TOPOGRAPHY 1040
#define IDD_GATE 1041
#define IDD_FENCE 1042
#define IDD_PATH 1043
#define IDD_AREA_KIND 1044
#define IDD_PLANT_GROWTH 1045
#define IDD_PLANTING_AGE 1046
#define IDD_VIEWPOINT_ELEVATION 1047
#define IDD_AERIAL_ALTITUDE 1048
#define IDD_OBJECT_ELEVATION 1049
#define IDD_ROOF_ELEVATION 1050
#define IDD_LIGHTING 1051
#define IDD_PLANT_DETAILS 1052
#define IDD_GRID_STYLE 1060
#define IDD_TRACING_IMAGE_SIZE 1061
#define IDD_DECK_SEGMENT 1065
#define IDD_DECK_HEIGHT 1066
#define IDD_ROOF_SECTION_ELEVATION 1067
#define IDD_WORKING_ELEVATION 1068
#define IDD_SLOPED_TOPOGRAPHY 1069
#define IDD_DECK_STAIRS 1070
#define IDD_ZOOM_FACTOR 1084
#define IDD_PHOTO_VIEW 1086
