# kvr.rsx - every screen of 3d Morvek, laid out for the 240 x 320 portrait screen.
#
# Keyword lines (numbers in decimal; colours and colour keys are 5-6-5 pixel values):
#   FONT1|FONT2|FONT3 file colour
#   BITMAP name file x y blitmode colourkey redrawalways visible
#   BUTTON name normalimage focusedimage x y blitmode colourkey [redrawalways]
#   LABEL name text font x y
#   CHECKBOX name unchecked focus checked x y checked blitmode colourkey [redrawalways]
#   PROGRESSBAR name frame x y width height min max frameoffsetx frameoffsety fill value [vertical]
#   TDENG name x y width height [projectionscale]
#   BACKGROUND name x y width height
#
# Blit modes: 0 opaque, 1 colour key, 2 half blend, 3 colour key tints half-way.
# House colours: white 65503, pale yellow 65492, amber 65098, cyan 26399.
# Menu buttons are tinted glass: mode 3 over the key 4296 (the tint).
# Option rows and the engine switch are keyed on magenta 63519, everything else on black 0.
# Every form begins with its backdrop: the first control never takes the focus, and the
# first button or checkbox after it has the focus when the form opens.

# ---------------------------------------------------------------------------------------
# Main menu

FORM FORMMAIN
FONT1 font1.fnt 65503
FONT2 font2.fnt 65492
FONT3 font3.fnt 65098
BITMAP IMG_MENUBACK menuback.jpg 0 0 0 0 0 1
BUTTON BTNSTART_FORMMAIN btn_play.spr btn_play_hi.spr 128 150 3 4296
BUTTON BTN_NEWGAME btn_newgame.spr btn_newgame_hi.spr 128 180 3 4296
BUTTON BTNOPTIONS_FORMMAIN btn_options.spr btn_options_hi.spr 128 210 3 4296
BUTTON BTNCREDITS_FORMMAIN btn_credits.spr btn_credits_hi.spr 128 240 3 4296
BUTTON BTNEXITAPP btn_exit.spr btn_exit_hi.spr 128 270 3 4296
LABEL LBL_VERSION "Version 1.0" 1 4 306
ENDFORM

# ---------------------------------------------------------------------------------------
# Options: three switches, two bars with their minus and plus buttons, key setup, back.

FORM FORMOPTIONS
FONT1 font1.fnt 65503
FONT2 font2.fnt 65492
FONT3 font3.fnt 65098
BITMAP IMG_BACK menu_back.spr 0 0 0 0 0 1
BITMAP IMG_TITLE title_options.spr 0 4 1 0 0 1
CHECKBOX CHKOPTIONS_SHOWBACKGROUND opt_background.spr opt_focus.spr opt_background_on.spr 8 50 1 1 63519
CHECKBOX CHKOPTIONS_PLAYMUSIC opt_music.spr opt_focus.spr opt_music_on.spr 8 80 1 1 63519
CHECKBOX CHK_OPTIONS_CAMFIRSTPERSON opt_camera.spr opt_focus.spr opt_camera_on.spr 8 110 1 1 63519
LABEL LBL_VOLUME "EFFECTS VOLUME" 2 12 146
BUTTON BTNVOLUMEMINUS_FORMOPTIONS btn_minus.spr btn_minus_hi.spr 8 160 3 4296
PROGRESSBAR PROGRBAR_VOLUME bar_frame.spr 41 163 156 13 0 256 3 3 64772 256
BUTTON BTNVOLUMEPLUS_FORMOPTIONS btn_plus.spr btn_plus_hi.spr 204 160 3 4296
LABEL LBL_VISIBILITY "VIEW DISTANCE" 2 12 190
BUTTON BTN_VISMINUS btn_minus.spr btn_minus_hi.spr 8 204 3 4296
PROGRESSBAR PGB_VIS bar_frame.spr 41 207 156 13 2000 4000 3 3 64772 2800
BUTTON BTN_VISPLUS btn_plus.spr btn_plus_hi.spr 204 204 3 4296
BUTTON BTNOPTIONS_KEYSETUP btn_keysetup.spr btn_keysetup_hi.spr 8 240 3 4296
BUTTON BTNBACK_FORMOPTIONS btn_back.spr btn_back_hi.spr 66 276 3 4296
ENDFORM

# ---------------------------------------------------------------------------------------
# Key setup: one button per action; the label beside it shows the bound key's code.

FORM FORMKEYSETUP
FONT1 font1.fnt 65503
FONT2 font2.fnt 65098
FONT3 font3.fnt 65098
BITMAP IMG_BACK menu_back.spr 0 0 0 0 0 1
BITMAP IMG_TITLE title_keys.spr 0 4 1 0 0 1
BUTTON BTNKEYSETUP_TURNLEFT key_turnleft.spr key_turnleft_hi.spr 8 44 3 4296
LABEL LBLTURNLEFTCODE "Not set" 2 168 48
BUTTON BTNKEYSETUP_TURNRIGHT key_turnright.spr key_turnright_hi.spr 8 64 3 4296
LABEL LBLTURNRIGHTCODE "Not set" 2 168 68
BUTTON BTNKEYSETUP_VIEWUP key_viewup.spr key_viewup_hi.spr 8 84 3 4296
LABEL LBLVIEWUPCODE "Not set" 2 168 88
BUTTON BTNKEYSETUP_VIEWDOWN key_viewdown.spr key_viewdown_hi.spr 8 104 3 4296
LABEL LBLVIEWDOWNCODE "Not set" 2 168 108
BUTTON BTNKEYSETUP_ENGINESONOFF key_engine.spr key_engine_hi.spr 8 124 3 4296
LABEL LBLENGINEONOFFCODE "Not set" 2 168 128
BUTTON BTNKEYSETUP_SHOOT key_shoot.spr key_shoot_hi.spr 8 144 3 4296
LABEL LBLSHOOTCODE "Not set" 2 168 148
BUTTON BTNKEYSETUP_CHANGEWEAPON key_weapon.spr key_weapon_hi.spr 8 164 3 4296
LABEL LBLCHANGEWEAPONCODE "Not set" 2 168 168
BUTTON BTNKEYSETUP_MENUUP key_menuup.spr key_menuup_hi.spr 8 188 3 4296
LABEL LBLMENUUPCODE "Not set" 2 168 192
BUTTON BTNKEYSETUP_MENUDOWN key_menudown.spr key_menudown_hi.spr 8 208 3 4296
LABEL LBLMENUDOWNCODE "Not set" 2 168 212
BUTTON BTNKEYSETUP_MENULEFT key_menuleft.spr key_menuleft_hi.spr 8 228 3 4296
LABEL LBLMENULEFTCODE "Not set" 2 168 232
BUTTON BTNKEYSETUP_MENURIGHT key_menuright.spr key_menuright_hi.spr 8 248 3 4296
LABEL LBLMENURIGHTCODE "Not set" 2 168 252
BUTTON BTNKEYSETUP_MENUSELECT key_menuselect.spr key_menuselect_hi.spr 8 268 3 4296
LABEL LBLMENUSELECTCODE "Not set" 2 168 272
BUTTON BTNBACK_FORMKEYSETUP btn_back.spr btn_back_hi.spr 66 291 3 4296
ENDFORM

# ---------------------------------------------------------------------------------------
# Credits

FORM FORMCREDITS
FONT1 font1.fnt 65503
FONT2 font2.fnt 65098
FONT3 font3.fnt 65098
BITMAP IMG_BACK menu_back.spr 0 0 0 0 0 1
BITMAP IMG_TITLE title_credits.spr 0 4 1 0 0 1
LABEL LBL_GAME "3D MORVEK" 3 63 52
LABEL LBL_VERSION "Version 1.0" 1 85 76
LABEL LBL_STUDIO "A Vomtal Games production" 2 26 96
LABEL LBL_HEAD1 "DESIGN AND CODE" 2 64 124
LABEL LBL_NAME1 "The Vomtal team" 1 70 138
LABEL LBL_HEAD2 "GRAPHICS" 2 89 160
LABEL LBL_NAME2 "Drawn pixel by pixel" 1 57 174
LABEL LBL_HEAD3 "SOUND AND MUSIC" 2 64 196
LABEL LBL_NAME3 "Mixed in software, 16 kHz" 1 40 210
LABEL LBL_HEAD4 "SPECIAL THANKS" 2 66 232
LABEL LBL_NAME4 "Everyone who played" 1 56 246
LABEL LBL_THANKS "Thanks for playing!" 1 60 264
BUTTON BTNBACK_FORMCREDITS btn_back.spr btn_back_hi.spr 66 280 3 4296
ENDFORM

# ---------------------------------------------------------------------------------------
# New game: confirmation, then the skill level, then the briefing.

FORM FORMNEWGAME
FONT1 font1.fnt 65503
FONT2 font2.fnt 65098
FONT3 font3.fnt 65098
BITMAP IMG_BACK menu_back.spr 0 0 0 0 0 1
BITMAP IMG_TITLE title_newgame.spr 0 4 1 0 0 1
BITMAP IMG_WARNING icon_warning.spr 96 56 1 0 0 1
LABEL LBL_QUESTION "Start a new campaign?" 2 41 112
LABEL LBL_WARN1 "Saved progress and" 1 59 140
LABEL LBL_WARN2 "the state of every map" 1 47 156
LABEL LBL_WARN3 "will be lost." 1 82 172
BUTTON BTN_NEWGAME_OK btn_start.spr btn_start_hi.spr 12 228 3 4296
BUTTON BTN_NEWGAME_CANCEL btn_cancel.spr btn_cancel_hi.spr 124 228 3 4296
ENDFORM

FORM FORMSKILLLEVEL
FONT1 font1.fnt 65503
FONT2 font2.fnt 65098
FONT3 font3.fnt 65098
BITMAP IMG_BACK menu_back.spr 0 0 0 0 0 1
BITMAP IMG_TITLE title_skill.spr 0 4 1 0 0 1
LABEL LBL_CHOOSE "Choose how hard the war is." 2 22 52
# Normal comes first so that it has the focus.
BUTTON BTN_SKILLLEVEL_NORMAL btn_normal.spr btn_normal_hi.spr 40 146 3 4296
LABEL LBL_NORMAL "The campaign as intended." 1 39 180
BUTTON BTN_SKILLLEVEL_EASY btn_easy.spr btn_easy_hi.spr 40 76 3 4296
LABEL LBL_EASY "Enemy fire does less harm." 1 36 110
BUTTON BTN_SKILLLEVEL_HARD btn_hard.spr btn_hard_hi.spr 40 216 3 4296
LABEL LBL_HARD "Enemy fire hits harder." 1 46 250
LABEL LBL_NOTE1 "You can change it only with" 1 33 276
LABEL LBL_NOTE2 "a new game." 1 85 290
ENDFORM

# The briefing: the story scrolls up in the window; skip goes straight to the game.
FORM FORMINTRO
FONT1 font1.fnt 65503
FONT2 font2.fnt 65098
FONT3 font3.fnt 65098
BITMAP IMG_BACK menu_story.spr 0 0 0 0 0 1
BITMAP IMG_TITLE title_story.spr 0 4 1 0 0 1
BITMAP IMG_SCROLLTEXT story_text.spr 12 52 0 0 1 1
BUTTON BTN_SKIPINTRO btn_skip.spr btn_skip_hi.spr 66 284 3 4296
ENDFORM

# ---------------------------------------------------------------------------------------
# In the game, first-person camera: the 3D view above, the console below. While the view
# runs the static controls are drawn every sixth frame only, so whatever lies over the view
# or changes every frame is marked redraw-always. The final-text panel lies under the
# console and shows when the console is hidden at the end of the campaign.

FORM FORMINGAME_CAM_FP
FONT1 font1.fnt 65503
FONT2 font2.fnt 26399
FONT3 font3.fnt 65098
BACKGROUND NEWBACKGROUND 0 0 240 232
TDENG NEWTDENG 0 0 240 232
BITMAP IMG_TEXTFINAL hud_final.spr 0 232 0 0 0 1
BITMAP IMG_CONSOLE hud_console.spr 0 232 0 0 0 1
BITMAP IMG_MAP2D radar.spr 6 238 0 0 1 1
PROGRESSBAR PGB_ENERGY hud_energy.spr 128 240 102 9 0 250 2 2 14090 250
LABEL CURRWEAPON "Machine gun" 2 90 264
LABEL AMMOLEFT 300 2 196 264
BITMAP CROSSHAIR_RIFLEMACHINE cross_gun.spr 104 100 1 0 1 1
BITMAP CROSSHAIR_PLASMA cross_plasma.spr 104 100 1 0 1 0
BITMAP CROSSHAIR_ROCKET cross_rocket.spr 104 100 1 0 1 0
BUTTON BTN_MENU hud_menu.spr hud_menu_hi.spr 196 286 0 0
CHECKBOX ENGINELED hud_engine.spr hud_engine_focus.spr hud_engine_on.spr 84 286 0 1 63519
BUTTON BTN_CHANGEWEAPON hud_weapon.spr hud_weapon_hi.spr 136 286 0 0
BITMAP IMG_SCROLLFINAL final_text.spr 6 252 0 0 1 0
LABEL LBL_ENTERING "ENTERING AREA" 3 39 136
PROGRESSBAR PGB_LOADING bar_frame.spr 41 173 156 13 0 10 3 3 22175 0
ENDFORM

# In the game, external camera: a taller view with the energy bar and the radar over its
# corners and a strip below; the final text scrolls over the view.
FORM FORMINGAME_CAM_EXT2
FONT1 font1.fnt 65503
FONT2 font2.fnt 26399
FONT3 font3.fnt 65098
BACKGROUND NEWBACKGROUND 0 0 240 280
TDENG NEWTDENG 0 0 240 280
BITMAP IMG_TEXTFINAL hud_strip_ext.spr 0 280 0 0 0 1
BITMAP IMG_READOUT hud_readout_ext.spr 2 283 0 0 0 1
LABEL CURRWEAPON "Machine gun" 1 7 287
LABEL AMMOLEFT 300 2 7 300
BITMAP IMG_ENERGYBOX hud_energy_ext.spr 4 4 1 0 1 1
PROGRESSBAR PGB_ENERGY hud_energy.spr 50 10 102 9 0 250 2 2 14090 250
BITMAP IMG_MAP2D radar_ext.spr 172 4 0 0 1 1
BITMAP CROSSHAIR_RIFLEMACHINE cross_gun.spr 104 104 1 0 1 1
BITMAP CROSSHAIR_PLASMA cross_plasma.spr 104 104 1 0 1 0
BITMAP CROSSHAIR_ROCKET cross_rocket.spr 104 104 1 0 1 0
BUTTON BTN_MENU hud_menu.spr hud_menu_hi.spr 198 286 0 0 1
CHECKBOX ENGINELED hud_engine.spr hud_engine_focus.spr hud_engine_on.spr 90 286 0 1 63519 1
BUTTON BTN_CHANGEWEAPON hud_weapon.spr hud_weapon_hi.spr 140 286 0 0 1
BITMAP IMG_SCROLLFINAL final_text_ext.spr 12 40 1 0 1 0
LABEL LBL_ENTERING "ENTERING AREA" 3 39 136
PROGRESSBAR PGB_LOADING bar_frame.spr 41 173 156 13 0 10 3 3 22175 0
ENDFORM

# ---------------------------------------------------------------------------------------
# Star chart: the systems turn in the view; the buttons step through the destinations.

FORM FORMSTARCHART
FONT1 font1.fnt 65503
FONT2 font2.fnt 65492
FONT3 font3.fnt 65098
BITMAP IMG_STARS starfield.spr 0 0 0 0 1 1
TDENG FORMSTARCHART_TDENG 0 40 240 196
BITMAP IMG_TITLE title_starchart.spr 0 4 1 0 1 1
BITMAP IMG_DESTPANEL dest_panel.spr 4 240 0 0 1 1
LABEL LBL_DESTINATION "Unknown" 2 70 250
BUTTON BTN_DESTSEL btn_jump.spr btn_jump_hi.spr 64 282 3 4296
BUTTON BTN_DESTPREVIOUS btn_prev.spr btn_prev_hi.spr 6 282 3 4296
BUTTON BTN_DESTNEXT btn_next.spr btn_next_hi.spr 182 282 3 4296
ENDFORM

FORM FORMJUMPTOOFAR
FONT1 font1.fnt 65503
FONT2 font2.fnt 65098
FONT3 font3.fnt 65098
BITMAP IMG_BACK menu_back.spr 0 0 0 0 0 1
BITMAP IMG_TITLE title_hyperjump.spr 0 4 1 0 0 1
BITMAP IMG_WARNING icon_warning.spr 96 56 1 0 0 1
LABEL LBL_LINE1 "This destination lies in" 2 34 112
LABEL LBL_LINE2 "another star system." 2 44 128
LABEL LBL_LINE3 "A hyperjump charge is" 1 51 156
LABEL LBL_LINE4 "needed to travel there." 1 45 172
LABEL LBL_LINE5 "Find one and come back." 1 46 188
BUTTON FORMJUMPTOOFAR_BTN_OK btn_ok.spr btn_ok_hi.spr 68 236 3 4296
ENDFORM
